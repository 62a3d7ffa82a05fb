#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <set>

#include "Fault.h"
#include "app/CUIMessageBox.h"
#include "app/DatabaseNotice.h"
#include "app/Environment.h"
#include "app/Language.h"
#include "app/MainWindowTestSupport.h"
#include "app/RegistrySettings.h"
#include "app/UdevRuleCommand.h"
#include "device/KeyMacroType.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/WindowServices.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"

namespace {

using namespace std::chrono_literals;
using apptest::MainWindowTest;

class KeyboardDlgConnectionTest : public MainWindowTest {
protected:
    // Runs the first connect queued at start and checks what it queued.
    void FirstConnectQueues(const std::vector<int>& expected)
    {
        ASSERT_EQ(TakeQueue(), std::vector<int>{QCMD_FIRST_CONNECT});
        dlg->QueueCommand(QCMD_FIRST_CONNECT);
        dlg->Run();
        std::vector<int> queued = TakeQueue();
        EXPECT_EQ(queued, expected);
        for (const int code : queued) {
            dlg->QueueCommand(code);
        }
    }

    void ExpectNoKeyboardPanel()
    {
        EXPECT_FALSE(dlg->connection.deviceFound.load());
        EXPECT_FALSE(dlg->connection.deviceOpened.load());
        EXPECT_TRUE(HomePanelShown());
        EXPECT_FALSE(TabsShown());
        EXPECT_EQ(dlg->page.currentPage.load(), PAGE_HOME);
        EXPECT_EQ(dlg->connection.statusTextId.load(), 820);
        EXPECT_EQ(dlg->ui.statusTitle->GetTitle(), GetLanString(820));
        EXPECT_EQ(dlg->connection.connectionKind.load(), -1);
    }

    void ExpectLoadedPages()
    {
        EXPECT_TRUE(dlg->connection.deviceFound.load());
        EXPECT_TRUE(dlg->connection.deviceOpened.load());
        EXPECT_TRUE(TabsShown());
        EXPECT_FALSE(HomePanelShown());
        EXPECT_EQ(dlg->page.currentPage.load(), PAGE_KEYS);
        EXPECT_EQ(dlg->connection.statusTextId.load(), 821);
    }
};

TEST_F(KeyboardDlgConnectionTest, FirstConnectFindsTheKeyboardAndLoadsItsModel)
{
    Plug();
    CreateWindow();
    FirstConnectQueues({QCMD_LOAD_FROM_DEVICE, QCMD_AFTER_LOAD});

    EXPECT_TRUE(dlg->connection.deviceFound.load());
    EXPECT_TRUE(dlg->connection.deviceOpened.load());
    EXPECT_EQ(dlg->connection.connectionKind.load(), 0);
    EXPECT_EQ(dlg->connection.currentModelId.load(), 101);
    EXPECT_EQ(dlg->connection.statusTextId.load(), 821);
    EXPECT_EQ(dlg->ui.statusTitle->GetTitle(), GetLanString(821));
    EXPECT_EQ(ReadDeviceType(), 101);
    // The model's database and layout.
    KBDataBase& database = KBDataBase::GetInstance();
    EXPECT_TRUE(database.IsOpened());
    EXPECT_EQ(database.GetDbPath(), KBDataBase::BuildDbPath(GetDataFolder(), L"Morvessa Keyboard"));
    EXPECT_EQ(dlg->model.layoutKey, L"qx71_max");
    EXPECT_EQ(dlg->layout.musicRows, 6);
    EXPECT_EQ(dlg->layout.musicColumns, 16);
    int placed = 0;
    for (const auto& row : dlg->layout.musicGrid) {
        for (const uint8_t code : row) {
            placed += code != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(placed, 60);
    for (MUI::KeyboardCtrl* view : dlg->KeyViews()) {
        EXPECT_EQ(view->GetKeyItemCount(), 84);
    }

    // The load shows the pages with the last progress picture.
    ASSERT_TRUE(Drain());
    ExpectLoadedPages();
    EXPECT_FALSE(dlg->ui.noConnectPictures[0]->IsVisible());
    EXPECT_FALSE(dlg->ui.noConnectPictures[1]->IsVisible());
    EXPECT_TRUE(dlg->ui.noConnectPictures[2]->IsVisible());
    EXPECT_EQ(dlg->ui.background->GetImage(), L"main_bkg.png");
    // The load read the keyboard's default key table: every key of its layout is mapped.
    EXPECT_EQ(dlg->keyTables.maps.indexToCode.size(), 84u);
}

// The pages come first, so the window is usable at once: they are shown before the load
// reads the keyboard, and so before the settings write that ends it (its store pause).
TEST_F(KeyboardDlgConnectionTest, ThePagesAreShownBeforeTheLoadAndTheSettingsWrite)
{
    Plug();
    CreateWindow();
    FirstConnectQueues({QCMD_LOAD_FROM_DEVICE, QCMD_AFTER_LOAD});
    std::vector<bool> shownAtPause;
    const auto recorded = dlg->worker.pause;
    dlg->worker.pause = [&](int ms) {
        shownAtPause.push_back(TabsShown());
        recorded(ms);
    };
    ASSERT_TRUE(Drain());
    dlg->worker.pause = recorded;
    ExpectLoadedPages();
    // The settings block's store pause is the load's last.
    ASSERT_FALSE(shownAtPause.empty());
    EXPECT_TRUE(shownAtPause.front());
    EXPECT_EQ(std::count(shownAtPause.begin(), shownAtPause.end(), false), 0);
}

TEST_F(KeyboardDlgConnectionTest, LoadShowsTheStoredKeyLayoutPresetAndKeepsTheRows)
{
    // The preset was laid over the keys when it was picked; the user's keys since stay.
    Plug();
    CreateWindow();
    dlg->page.currentProfile = 1;
    FirstConnectQueues({QCMD_LOAD_FROM_DEVICE, QCMD_AFTER_LOAD});
    ASSERT_TRUE(Drain());  // the first load makes the profiles and their rows
    KBDataBase& database = KBDataBase::GetInstance();
    ASSERT_TRUE(database.SetConfig(0, L"key_profile_preset", L"203"));
    // Left Alt given the media key Play on the base layer of the page's profile.
    KeyMacroRecord row;
    ASSERT_TRUE(database.GetKeyMacro(dlg->KeyPageProfile(), 0, 0xE2, row));
    row.macro_type = KMT_CONSUMER;
    row.macro_value = 0xCD;
    ASSERT_TRUE(database.UpdateKeyMacro(row));
    dlg->QueueCommand(QCMD_WRITE_KEYMAP);
    ASSERT_TRUE(Drain());
    const size_t index = static_cast<size_t>(dlg->keyTables.maps.IndexOf(0xE2));
    ASSERT_EQ(keyboard->KeyEntry(0, index), (std::array<uint8_t, 3>{0x30, 0xCD, 0x00}));
    TakeQueue();
    dlg->QueueCommand(QCMD_LOAD_FROM_DEVICE);
    dlg->QueueCommand(QCMD_AFTER_LOAD);
    dlg->Run();
    EXPECT_EQ(TakeQueue(), std::vector<int>{QCMD_AFTER_LOAD}) << "nothing is written";
    KeyMacroRecord stored;
    ASSERT_TRUE(database.GetKeyMacro(dlg->KeyPageProfile(), 0, 0xE2, stored));
    EXPECT_EQ(stored.macro_type, KMT_CONSUMER);
    EXPECT_EQ(stored.macro_value, 0xCD);
    EXPECT_EQ(keyboard->KeyEntry(0, index), (std::array<uint8_t, 3>{0x30, 0xCD, 0x00}));
    EXPECT_EQ(dlg->keyPage.presetCombo->GetCurData(), 203);
}

TEST_F(KeyboardDlgConnectionTest, LoadWorksOnTheDatabasesActiveProfile)
{
    Plug();
    CreateWindow();
    FirstConnectQueues({QCMD_LOAD_FROM_DEVICE, QCMD_AFTER_LOAD});
    KBDataBase& database = KBDataBase::GetInstance();
    ProfileRecord profile;
    profile.type = 1;
    profile.name = L"Profile 1";
    const int id = database.InsertProfile(profile);
    ASSERT_GT(id, 0);
    ASSERT_TRUE(database.SetActiveProfile(id));
    TakeQueue();
    dlg->QueueCommand(QCMD_LOAD_FROM_DEVICE);
    dlg->Run();
    EXPECT_EQ(dlg->page.currentProfile.load(), id);
    EXPECT_EQ(dlg->KeyPageProfile(), id);  // the page's combo box holds no profiles yet
}

TEST_F(KeyboardDlgConnectionTest, WithoutKeyboardTheWindowStaysOnTheNoKeyboardPanel)
{
    CreateWindow();
    FirstConnectQueues({});
    ExpectNoKeyboardPanel();
    EXPECT_EQ(dlg->ui.background->GetImage(), L"home_bkg.png");
    // A second first connect does nothing.
    Plug();
    dlg->QueueCommand(QCMD_FIRST_CONNECT);
    dlg->Run();
    EXPECT_TRUE(dlg->worker.queue.Empty());
    EXPECT_FALSE(dlg->connection.deviceFound.load());
}

TEST_F(KeyboardDlgConnectionTest, AKeyboardThatMayNotBeOpenedIsToldWithTheRulesCommand)
{
    Plug();
    keyboard->SetRefuseOpen(true);  // as without the udev rule
    CreateWindow();
    FirstConnectQueues({});
    EXPECT_TRUE(HomePanelShown());
    EXPECT_FALSE(dlg->connection.deviceFound.load());
    EXPECT_EQ(dlg->connection.statusTextId.load(), 822);
    const std::wstring command = UdevRuleCommand(GetModuleFolder());
    EXPECT_EQ(dlg->ui.statusTitle->GetTitle(), GetLanString(822) + L"\n" + command);
    // The command names the copy of the rule that comes with the program's files.
    EXPECT_NE(command.find(L"install -m 644 \"" + GetModuleFolder() +
                           L"udev/70-tolvenic.rules\" "
                           L"/etc/udev/rules.d/"),
              std::wstring::npos)
        << text::WideToUtf8(command);
    EXPECT_TRUE(std::filesystem::is_regular_file(text::WideToUtf8(GetModuleFolder()) +
                                                 "udev/70-tolvenic.rules"));

    // While the keyboard is still refused, the idle steps leave the panel alone.
    for (int step = 0; step < 4; ++step) dlg->Run();
    EXPECT_TRUE(dlg->worker.queue.Empty());
    EXPECT_EQ(dlg->connection.statusTextId.load(), 822);

    // The rule installed: the keyboard is found within a few idle steps, with no arrival told.
    keyboard->SetRefuseOpen(false);
    ASSERT_TRUE(WaitFor([&] {
        dlg->Run();
        return dlg->connection.deviceFound.load();
    }));
    ASSERT_TRUE(Drain());
    ExpectLoadedPages();

    // Pulled out and plugged back without access: told again, not as "no keyboard".
    Unplug();
    ASSERT_TRUE(WaitFor([&] { return !dlg->worker.queue.Empty(); }));
    keyboard->SetRefuseOpen(true);
    Plug();
    ASSERT_TRUE(Drain());
    EXPECT_EQ(dlg->connection.statusTextId.load(), 822);
    EXPECT_TRUE(HomePanelShown());
}

TEST_F(KeyboardDlgConnectionTest, UnreadableDatabaseIsSetAsideAndTheUserToldOnce)
{
    // The model's file is no database: the connect sets it aside, saves into a new one, and
    // the program's message box names the file kept; a second connect tells nothing more.
    const std::string path = KBDataBase::BuildDbPath(GetDataFolder(), L"Morvessa Keyboard");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << std::string(3000, '?');
    std::vector<std::wstring> shown;
    std::set<HWND> answered;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&shown, &answered] {
        const HWND hwnd = MUI::FindWindow(L"", L"MessageBox");
        auto* box = dynamic_cast<CUIMessageBox*>(MUI::MWindow::FromHandle(hwnd));
        if (box == nullptr || !box->IsModalRunning() || !answered.insert(hwnd).second) return;
        shown.push_back(box->Message());
        box->OnMessage(kMessageBoxFirstButtonId, MUI::kNotifyClick, 0);
    });
    answer.start(5);

    Plug();
    CreateWindow();
    FirstConnectQueues({QCMD_LOAD_FROM_DEVICE, QCMD_AFTER_LOAD});
    ASSERT_TRUE(WaitFor([&] { return !shown.empty(); }));
    KBDataBase& database = KBDataBase::GetInstance();
    const std::string aside = database.GetSetAsidePath();
    ASSERT_FALSE(aside.empty());
    EXPECT_EQ(shown[0], DatabaseNoticeText(true, aside, path));
    EXPECT_NE(shown[0].find(text::Utf8ToWide(aside)), std::wstring::npos);
    EXPECT_EQ(std::filesystem::file_size(aside), 3000u);
    EXPECT_TRUE(database.IsOpened());
    EXPECT_TRUE(database.SetConfig(0, L"gamemode", L"1"));

    // The same file again unusable on the next connect: not told twice.
    database.Close();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(3000, '?');
    dlg->LoadKeyboardLayout(101);
    Pump(std::chrono::milliseconds(200));
    EXPECT_EQ(shown.size(), 1u);
    ASSERT_TRUE(Drain());
    ExpectLoadedPages();
}

TEST_F(KeyboardDlgConnectionTest, UnplugAndPlugBackFollowTheKeyboard)
{
    Plug();
    CreateWindow();
    FirstConnectQueues({QCMD_LOAD_FROM_DEVICE, QCMD_AFTER_LOAD});
    ASSERT_TRUE(Drain());
    ExpectLoadedPages();

    // A popup that the removal must close.
    MUI::MWindow popup;
    ASSERT_NE(popup.Create(nullptr, L"WaitDlg", WS_POPUP, 0, RECT{0, 0, 100, 100}), nullptr);
    popup.ShowWindow(SW_SHOW);
    {
        // The load's own pauses (the settings block's store) are not the removal's.
        std::lock_guard lock(recordMutex);
        pauses.clear();
    }

    Unplug();
    ASSERT_TRUE(WaitFor([&] { return !dlg->worker.queue.Empty(); }));
    EXPECT_EQ(dlg->connection.pendingChange.load(), 2);
    EXPECT_EQ(TakeQueue(), std::vector<int>{QCMD_DEVICE_REMOVED});
    dlg->QueueCommand(QCMD_DEVICE_REMOVED);
    dlg->Run();
    EXPECT_EQ(Pauses(), std::vector<int>{1000});
    ExpectNoKeyboardPanel();
    EXPECT_EQ(dlg->connection.pendingChange.load(), 0);
    EXPECT_TRUE(WaitFor([] { return MUI::FindWindow(L"MWindow", L"WaitDlg") == nullptr; }));

    Plug();
    ASSERT_TRUE(WaitFor([&] { return !dlg->worker.queue.Empty(); }));
    EXPECT_EQ(TakeQueue(), std::vector<int>{QCMD_PROBE_ARRIVAL});
    dlg->QueueCommand(QCMD_PROBE_ARRIVAL);
    dlg->QueueCommand(QCMD_RECONNECT);  // queued after the notification, so run after it
    dlg->Run();
    EXPECT_EQ(dlg->connection.pendingChange.load(), 1);
    EXPECT_EQ(TakeQueue(), (std::vector<int>{QCMD_DEVICE_ARRIVED, QCMD_RECONNECT}));
    dlg->QueueCommand(QCMD_DEVICE_ARRIVED);
    dlg->Run();
    EXPECT_EQ(TakeQueue(), (std::vector<int>{QCMD_LOAD_FROM_DEVICE, QCMD_AFTER_LOAD}));
    dlg->QueueCommand(QCMD_LOAD_FROM_DEVICE);
    ASSERT_TRUE(Drain());
    ExpectLoadedPages();
}

TEST_F(KeyboardDlgConnectionTest, DeviceNotificationsAreFilteredByHeaderAndPattern)
{
    Plug();
    CreateWindow();
    FirstConnectQueues({QCMD_LOAD_FROM_DEVICE, QCMD_AFTER_LOAD});
    TakeQueue();
    std::wstring configName;
    std::wstring lowerName;  // the ids in lower case, the path as it is
    for (const hid::HidDeviceInfo& info : backend.Enumerate()) {
        if (info.interfaceNumber == 1) {
            configName = hid::MakeInterfaceName(info.vendorId, info.productId, 1, info.path);
            lowerName =
                L"HID#vid_3b6d&pid_fd70&mi_01#" + std::wstring(info.path.begin(), info.path.end());
        }
    }
    ASSERT_FALSE(configName.empty());
    struct Case {
        WPARAM event;
        int headerType;
        std::wstring name;
        std::vector<int> queued;
    };
    const Case cases[] = {
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, configName, {QCMD_DEVICE_ARRIVED}},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, lowerName, {QCMD_DEVICE_ARRIVED}},
        {DBT_DEVICEARRIVAL, 3, configName, {}},  // a volume or port
        {0x8001, DBT_DEVTYP_DEVICEINTERFACE, configName, {}},
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, L"HID#VID_1234&PID_FD70&MI_01#x", {}},
        // The pattern matches but the interface does not open.
        {DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, L"HID#VID_3B6D&PID_FD70&MI_01#x", {}},
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, configName, {QCMD_DEVICE_REMOVED}},
        // The model is no longer marked connected.
        {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, configName, {}},
    };
    for (const Case& c : cases) {
        DeviceInterfaceRecord record{c.headerType, c.name};
        EXPECT_EQ(dlg->SendMessage(WM_DEVICECHANGE, c.event, reinterpret_cast<LPARAM>(&record)), 0);
        std::vector<int> queued = TakeQueue();
        if (queued == std::vector<int>{QCMD_PROBE_ARRIVAL}) {
            // The worker's step probes the interface; the arrival follows when it passes.
            dlg->QueueCommand(QCMD_PROBE_ARRIVAL);
            dlg->Run();
            queued = TakeQueue();
        }
        EXPECT_EQ(queued, c.queued) << c.event << " " << c.headerType;
    }
}

// A keyboard that answers nothing, answers for another command, has the wrong report size,
// or is pulled out in the middle: the worker's steps end and the window ends in a state that
// fits the keyboard.
TEST_F(KeyboardDlgConnectionTest, MisbehavingKeyboardLeavesAConsistentWindow)
{
    // A keyboard whose answers are partly lost is told of in a message box: it is answered.
    setenv("TOLVENIC_TEST_MESSAGE_ANSWER", "1", 1);
    const char* faults[] = {"no-answer=all", "foreign-answer=all", "unplug-after=1"};
    for (const char* fault : faults) {
        SCOPED_TRACE(fault);
        keyboard = std::make_shared<vkb::VirtualKeyboard>();
        const std::optional<vkb::Fault> parsed = vkb::ParseFault(fault);
        ASSERT_TRUE(parsed.has_value());
        keyboard->AddFault(*parsed);
        Plug();
        CreateWindow();
        TakeQueue();
        dlg->QueueCommand(QCMD_FIRST_CONNECT);
        ASSERT_TRUE(Drain());
        // A removal on its way is delivered and handled too.
        Pump(200ms);
        ASSERT_TRUE(Drain());
        const bool loaded = TabsShown() && !HomePanelShown() &&
                            dlg->connection.deviceOpened.load() &&
                            dlg->connection.statusTextId.load() == 821;
        // A keyboard that answers nothing is told as such.
        const int status = dlg->connection.statusTextId.load();
        const bool home = !TabsShown() && HomePanelShown() && (status == 820 || status == 823);
        EXPECT_TRUE(loaded || home);
        dlg.reset();
        Unplug();
        Pump();
    }
    keyboard = std::make_shared<vkb::VirtualKeyboard>();
    keyboard->SetShortReports(true);
    Plug();
    CreateWindow();
    TakeQueue();
    dlg->QueueCommand(QCMD_FIRST_CONNECT);
    ASSERT_TRUE(Drain());
    ExpectNoKeyboardPanel();
    unsetenv("TOLVENIC_TEST_MESSAGE_ANSWER");
}

// A keyboard that is found but never answers: after a few seconds the no-keyboard panel says
// that it does not answer, nothing is sent to it, and once it is plugged in anew (answering
// now) it connects as any keyboard does.
TEST_F(KeyboardDlgConnectionTest, AKeyboardThatDoesNotAnswerIsToldAndAReplugConnectsIt)
{
    keyboard = std::make_shared<vkb::VirtualKeyboard>();
    keyboard->AddFault(*vkb::ParseFault("no-answer=all"));
    Plug();
    CreateWindow();
    TakeQueue();
    const auto started = std::chrono::steady_clock::now();
    dlg->QueueCommand(QCMD_FIRST_CONNECT);
    ASSERT_TRUE(Drain());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 15s) << "told within a few seconds";
    EXPECT_TRUE(HomePanelShown());
    EXPECT_FALSE(TabsShown());
    EXPECT_EQ(dlg->connection.statusTextId.load(), 823);
    EXPECT_EQ(dlg->ui.statusTitle->GetTitle(), GetLanString(823));
    EXPECT_FALSE(GetLanString(823).empty());
    EXPECT_FALSE(dlg->connection.deviceOpened.load()) << "nothing is sent to it";

    keyboard->ClearFaults();
    Unplug();
    Pump(200ms);
    ASSERT_TRUE(Drain());
    Plug();
    ASSERT_TRUE(WaitFor([&] {
        Drain();
        return TabsShown();
    }));
    EXPECT_EQ(dlg->connection.statusTextId.load(), 821);
    EXPECT_TRUE(dlg->connection.deviceOpened.load());
}

// With the skin drawn beside the program, the window shows the program's icon in the sizes a
// desktop asks for.
TEST_F(KeyboardDlgConnectionTest, WindowShowsTheProgramsIconInEverySize)
{
    SetModuleFolder(
        text::Utf8ToWide(std::filesystem::path(TV_PROGRAM_PATH).parent_path().string()));
    CreateWindow();
    const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    }
}

}  // namespace
