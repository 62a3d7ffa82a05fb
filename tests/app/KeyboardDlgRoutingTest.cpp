#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainWindowTestSupport.h"
#include "app/RegistrySettings.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/Manager.h"
#include "platform/mui/WindowServices.h"
#include "platform/os/ShellOpen.h"

namespace {

using namespace std::chrono_literals;
using apptest::MainWindowTest;

constexpr unsigned kCloseButton = 35;
constexpr unsigned kTabControl = 55;
// Tab indexes in the tab order 1, 7, 2, 3, 4, 6.
constexpr int kKeysTab = 0;
constexpr int kPerformanceTab = 1;
constexpr int kLightingTab = 4;
constexpr int kSettingsTab = 5;

class KeyboardDlgRoutingTest : public MainWindowTest {};

TEST_F(KeyboardDlgRoutingTest, CloseWithExitModeOneHidesAndTheWorkerGoesOn)
{
    SetRegString(L"exit_mode", L"1");
    CreateWindow(false);
    dlg->ShowWindow(SW_SHOW);
    EXPECT_EQ(dlg->OnMessage(kCloseButton, MUI::kNotifyClick, 0), 1);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_TRUE(Exits().empty());
    EXPECT_NE(dlg->tray.icon, nullptr) << "the program stays in the tray";
    const uint64_t steps = dlg->worker.steps.load();
    EXPECT_TRUE(WaitFor([&] { return dlg->worker.steps.load() > steps + 5; }));
    // A left click on the tray icon shows the window again.
    dlg->SendMessage(WM_TRAY_NOTIFY, kTrayIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(dlg->IsWindowVisible());
}

TEST_F(KeyboardDlgRoutingTest, EveryExitRemovesTheTrayIconAndEndsTheProcess)
{
    struct Case {
        const wchar_t* exitMode;
        UINT message;  // 0: the close button
        WPARAM wParam;
        LPARAM lParam;
        bool exits;
    };
    const Case cases[] = {
        {L"0", 0, 0, 0, true},
        {L"2", 0, 0, 0, true},
        {L"1", WM_COMMAND, kTrayExitCommand, 0, true},
        {L"1", WM_APP_EXIT, 0, kAppExitCode, true},
        {L"1", WM_APP_EXIT, 0, 611, false},
        {L"1", WM_APP_EXIT, 0, 0, false},
        {L"1", WM_COMMAND, 101, 0, false},
    };
    for (const Case& c : cases) {
        SetRegString(L"exit_mode", c.exitMode);
        CreateWindow();
        dlg->ShowWindow(SW_SHOW);
        if (c.message == 0) {
            dlg->OnMessage(kCloseButton, MUI::kNotifyClick, 0);
        } else {
            dlg->SendMessage(c.message, c.wParam, c.lParam);
        }
        EXPECT_EQ(Exits(), c.exits ? std::vector<int>{0} : std::vector<int>{})
            << c.message << " " << c.lParam;
        EXPECT_EQ(dlg->tray.icon == nullptr, c.exits);
        // An exit hides the window at once, before the worker's step and batch are ended.
        EXPECT_EQ(dlg->IsWindowVisible(), !c.exits);
        dlg.reset();
        exits.clear();
    }
}

TEST_F(KeyboardDlgRoutingTest, TrayExitClosesOpenPopupsFirst)
{
    CreateWindow();
    MUI::MWindow popup;
    ASSERT_NE(popup.Create(nullptr, L"CustomKeyDKSDlg", WS_POPUP, 0, RECT{0, 0, 50, 50}), nullptr);
    dlg->SendMessage(WM_COMMAND, kTrayExitCommand, 0);
    EXPECT_EQ(Exits(), std::vector<int>{0});
    EXPECT_TRUE(WaitFor([] { return MUI::FindWindow(L"MWindow", L"CustomKeyDKSDlg") == nullptr; }));
}

TEST_F(KeyboardDlgRoutingTest, ControlsOfPagesNotBuiltAndOtherCodesAnswerZero)
{
    std::vector<std::wstring> opened;
    os::SetShellOpenHandler([&](const std::wstring& target) {
        opened.push_back(target);
        return true;
    });
    CreateWindow();
    struct Case {
        unsigned id;
        int code;
        int answer;
    };
    const Case cases[] = {
        {141, MUI::kNotifyClick, 0},
        {104, MUI::kNotifyClick, 0},
        {150, 5, 0},
        {357, 7, 0},
        {999, MUI::kNotifyClick, 0},
        {35, 7, 0},
        {38, MUI::kNotifyClick, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dlg->OnMessage(c.id, c.code, 0), c.answer) << c.id << " " << c.code;
    }
    os::SetShellOpenHandler({});
    EXPECT_TRUE(Exits().empty());
    EXPECT_EQ(opened, std::vector<std::wstring>{L"https://store.example.com/tolvenic/"});
}

TEST_F(KeyboardDlgRoutingTest, PageChangesRememberTheTabAndWriteSettingsAroundPerformance)
{
    CreateWindow();
    TakeQueue();
    struct Step {
        int tab;
        int page;
        std::vector<int> queued;
    };
    const Step steps[] = {
        {kPerformanceTab, PAGE_PERFORMANCE, {QCMD_WRITE_SETTINGS}},
        {kLightingTab, PAGE_LIGHTING, {QCMD_WRITE_SETTINGS}},  // leaving performance
        {kPerformanceTab, PAGE_PERFORMANCE, {QCMD_WRITE_SETTINGS}},
        {kSettingsTab, PAGE_SETTINGS, {QCMD_WRITE_SETTINGS}},
        {kKeysTab, PAGE_KEYS, {}},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(dlg->OnMessage(kTabControl, 5, s.tab), 1);
        EXPECT_EQ(dlg->page.currentPage.load(), s.page);
        EXPECT_EQ(dlg->page.rememberedTab.load(), s.tab);
        EXPECT_EQ(TakeQueue(), s.queued) << "tab " << s.tab;
    }
}

TEST_F(KeyboardDlgRoutingTest, PrivateMessagesAnswerAsTheirHandlersDo)
{
    CreateWindow();
    EXPECT_EQ(dlg->SendMessage(WM_CALIBRATION_KEY, 0x41, 0), 1);
    EXPECT_EQ(dlg->SendMessage(WM_UPGRADE_PROGRESS, 42, 0), 1);
    EXPECT_EQ(dlg->popups.reportedPercent.load(), 42);
    // The progress display climbs by one a tick, up to the reported percent.
    dlg->popups.reportedPercent = 2;
    for (int tick = 0; tick < 5; ++tick) {
        dlg->OnTimer(kUpgradeProgressTimer);
    }
    EXPECT_EQ(dlg->popups.displayedCounter, 3);
}

TEST_F(KeyboardDlgRoutingTest, WindowCarriesTheInstanceMarkAndTheTrayRecord)
{
    CreateWindow();
    EXPECT_EQ(MUI::GetProp(dlg->GetHWND(), MUI::Manager::GetDeviceName()), 1);
    EXPECT_EQ(dlg->tray.id, 109u);
    EXPECT_EQ(dlg->tray.callbackMessage, 0x69Au);
    EXPECT_EQ(dlg->tray.tip, MUI::Manager::GetDeviceName());
    EXPECT_NE(dlg->tray.icon, nullptr);
    EXPECT_TRUE(dlg->RemoveTrayIcon());
    EXPECT_EQ(dlg->tray.icon, nullptr);
    EXPECT_TRUE(dlg->RemoveTrayIcon()) << "nothing left to remove";
}

}  // namespace
