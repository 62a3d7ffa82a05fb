// The keyboard's own reports through the worker's idle poll, against the in-process virtual
// keyboard: live travel on the performance page, a layer and profile switch made on the
// keyboard, and the switch calibration with its swallowed keys and its repeated command.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "app/PerfPageFixture.h"
#include "platform/mui/KeyHook.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MTabCtrl.h"
#include "storage/RecordList.h"

namespace {

using namespace std::chrono_literals;

// The desktop key code of A (evdev 30 plus 8).
constexpr unsigned kNativeA = 38;

class KeyboardDlgInputReportsTest : public apptest::PerfPageTest {
protected:
    void SetUp() override
    {
        apptest::PerfPageTest::SetUp();
        dlg->ShowWindow(SW_SHOW);
        ShowPage(PAGE_PERFORMANCE);
        TakeQueue();
        keyboard->ClearLog();
    }

    void ShowPage(int pageId)
    {
        MUI::MTabCtrl* tabs = dlg->ui.tabCtrl;
        for (int i = 0; i < tabs->GetItemCount(); ++i) {
            if (tabs->GetItemID(i) == pageId) {
                dlg->OnPageChanged(i);
                return;
            }
        }
        FAIL() << "no tab of page " << pageId;
    }

    // One idle step of the worker, after the keyboard's report has arrived.
    void Poll()
    {
        Pump(5ms);
        dlg->Run();
    }

    vkb::TravelReport Travel(int code, uint16_t reading, uint16_t fullScale) const
    {
        vkb::TravelReport report;
        report.keyIndex = static_cast<size_t>(IndexOf(code));
        report.reading = reading;
        report.fullScale = fullScale;
        return report;
    }

    int CalibrationCommands() const
    {
        const auto requests = keyboard->Requests();
        return static_cast<int>(std::count_if(requests.begin(), requests.end(),
                                              [](const auto& r) { return r.Command() == 0xA8; }));
    }

    static int ActuationOf(int profile, int code)
    {
        std::vector<KeyPerfRecord*> stored;
        db().GetKeyPerfs(profile, stored);
        for (const KeyPerfRecord& row : TakeRecords(stored)) {
            if (row.key_code == code) return row.key_actuation;
        }
        return -1;
    }

    bool KeySwallowed(unsigned native)
    {
        const bool down = MUI::InjectNativeKey(native, false);
        MUI::InjectNativeKey(native, true);
        return down;
    }
};

TEST_F(KeyboardDlgInputReportsTest, LiveTravelReachesTheKeyViewAndTheGauge)
{
    ASSERT_TRUE(dlg->perfPage.debugSwitch->GetCheck()) << "the page loads with the display on";
    ASSERT_TRUE(keyboard->SendTravel(Travel(kA, 0x0100, 0x0205)));
    Poll();
    EXPECT_EQ(View().GetKeyTravel(kA), 20);
    EXPECT_EQ(Stroke().GetKeyTravel(), 20);
    ASSERT_TRUE(keyboard->SendTravel(Travel(kS, 0x0300, 0x0105)));
    Poll();
    EXPECT_EQ(View().GetKeyTravel(kS), 40) << "above full scale is the bottom";

    // A full scale of 5 or less names no travel: the report is dropped.
    ASSERT_TRUE(keyboard->SendTravel(Travel(kA, 0x0100, 5)));
    Poll();
    EXPECT_EQ(View().GetKeyTravel(kA), 20);

    // With the display off, or on another page, the view keeps its values.
    Flip(dlg->perfPage.debugSwitch, false);
    ASSERT_TRUE(keyboard->SendTravel(Travel(kA, 0x0100, 0x0105)));
    Poll();
    EXPECT_EQ(View().GetKeyTravel(kA), 20);
    Flip(dlg->perfPage.debugSwitch, true);
    ShowPage(PAGE_KEYS);
    TakeQueue();
    ASSERT_TRUE(keyboard->SendTravel(Travel(kA, 0x0100, 0x0105)));
    Poll();
    EXPECT_EQ(View().GetKeyTravel(kA), 20);
}

// A layer or device-profile switch made on the keyboard shows the layer and keeps the window's
// profile: the key tables and lighting stay those of that profile, no other profile's rows
// change, and only a new device profile has the one performance table read again.
TEST_F(KeyboardDlgInputReportsTest, SwitchesOnTheKeyboardKeepTheWindowsProfile)
{
    auto* keyList = dlg->GetControlAs<MUI::MComboBox>(KeyPageId::kProfileCombo);
    ASSERT_GE(keyList->GetItemCount(), 3);
    const int third = keyList->GetItemData(2);
    const int thirdBefore = ActuationOf(third, kA);
    // Read on the performance page, the switch waits for a page that lets it act.
    ASSERT_TRUE(keyboard->SwitchProfile(3, 0));
    Poll();
    EXPECT_EQ(dlg->page.currentFnLayer.load(), 0);
    ShowPage(PAGE_LIGHTING);
    dlg->PollDeviceReport();
    EXPECT_EQ(dlg->page.currentFnLayer.load(), 0) << "nor does the lighting page";

    ShowPage(PAGE_KEYS);
    TakeQueue();
    keyboard->ClearLog();
    const auto keymapsBefore = keyboard->Memory().keymaps;
    Poll();
    EXPECT_EQ(dlg->page.currentFnLayer.load(), 3);
    ASSERT_NE(dlg->keyPage.layers, nullptr);
    EXPECT_EQ(dlg->keyPage.layers->GetSelectKeyLayerID(), 3);
    if (auto* advanced = dlg->GetControlAs<MUI::KeyLayerCtrl>(KeyPageId::kAdvancedKeyLayers)) {
        EXPECT_EQ(advanced->GetSelectKeyLayerID(), 3);
    }
    EXPECT_EQ(dlg->page.currentProfile.load(), kProfile);
    EXPECT_TRUE(keyboard->Requests().empty()) << "a layer switch reads and writes nothing";
    EXPECT_TRUE(TakeQueue().empty());

    // Device profile 2: the performance read at 2 x 1024 reaches the table the keyboard plays.
    keyboard->ModifyMemory([&](vkb::KeyboardMemory& memory) {
        const uint8_t entry[8] = {0xA1, 2, 0x81, 0, 9, 0, 9, 0};
        std::copy(std::begin(entry), std::end(entry),
                  memory.keyPerf.begin() + static_cast<long>(IndexOf(kA)) * 8);
    });
    ASSERT_TRUE(keyboard->SwitchProfile(0, 2));
    Poll();
    EXPECT_EQ(dlg->page.currentFnLayer.load(), 0);
    EXPECT_EQ(dlg->page.currentProfile.load(), kProfile);
    for (MUI::MComboBox* combo : dlg->ProfileCombos()) {
        EXPECT_EQ(combo->GetCurData(), kProfile) << combo->GetID();
    }
    ASSERT_FALSE(keyboard->Requests().empty());
    EXPECT_EQ(keyboard->Requests().front().Command(), 0x01);
    EXPECT_EQ(ActuationOf(kProfile, kA), 0x82);
    MUI::KeyPerfInfo shown;
    ASSERT_TRUE(View().GetKeyPerfInfo(kA, shown));
    EXPECT_EQ(shown.actuation, 0x82);
    EXPECT_EQ(ActuationOf(third, kA), thirdBefore) << "a profile not shown keeps its rows";
    EXPECT_EQ(keyboard->Memory().keymaps, keymapsBefore);
    for (const auto& request : keyboard->Requests()) {
        EXPECT_NE(request.Command(), 0xA1) << "nothing is written over the keyboard's table";
    }
}

// Out of sight (hidden to the tray or minimised) the worker rests a second between its idle
// steps instead of polling a hundred times a second, and each of them still takes what the
// keyboard reports and notices a handle that failed; shown again, it polls at every step.
TEST_F(KeyboardDlgInputReportsTest, AWindowOutOfSightPollsSlowlyAndStillFollowsTheKeyboard)
{
    auto* keyList = dlg->GetControlAs<MUI::MComboBox>(KeyPageId::kProfileCombo);
    ASSERT_GE(keyList->GetItemCount(), 3);
    ShowPage(PAGE_KEYS);
    struct Case {
        int command;
        int profileIndex;
    };
    for (const Case& c : {Case{SW_HIDE, 2}, Case{SW_MINIMIZE, 1}}) {
        SCOPED_TRACE(c.command);
        dlg->ShowWindow(SW_SHOWNORMAL);
        dlg->ShowWindow(c.command);
        Pump(5ms);
        ASSERT_TRUE(!dlg->IsWindowVisible() || dlg->IsIconic());
        TakeQueue();
        ASSERT_TRUE(keyboard->SwitchProfile(0, c.profileIndex));
        Poll();
        EXPECT_GE(dlg->RequestedRest(), 1000);
        EXPECT_EQ(dlg->perf.deviceProfile.load(), c.profileIndex);
        EXPECT_EQ(dlg->page.currentProfile.load(), kProfile);
    }
    dlg->ShowWindow(SW_SHOWNORMAL);
    Pump(5ms);
    Poll();
    EXPECT_EQ(dlg->RequestedRest(), 0) << "a shown page that polls is not paced by a rest";

    // A handle failing while hidden is taken as a removal: the keyboard is looked for again
    // and its load follows.
    dlg->ShowWindow(SW_HIDE);
    Pump(5ms);
    TakeQueue();
    keyboard->FailHandles();
    Poll();
    const std::vector<int> queued = TakeQueue();
    EXPECT_NE(std::find(queued.begin(), queued.end(), QCMD_LOAD_FROM_DEVICE), queued.end());
}

TEST_F(KeyboardDlgInputReportsTest, CalibrationSwallowsKeysShowsValuesAndEndsWithThePage)
{
    Flip(dlg->perfPage.debugSwitch, false);
    TakeQueue();
    ASSERT_FALSE(KeySwallowed(kNativeA));
    Notify(286);
    EXPECT_TRUE(dlg->perf.calibrating.load());
    EXPECT_EQ(View().GetKeyboardCtrlMode(), MUI::KeyboardCtrl::kModeCalibration);
    EXPECT_FALSE(dlg->perfPage.rapidTriggerSwitch->IsEnabled());
    EXPECT_TRUE(dlg->GetControl(286)->IsEnabled());
    EXPECT_TRUE(dlg->perfPage.debugSwitch->GetCheck());
    Send();
    EXPECT_TRUE(keyboard->Calibrating());
    EXPECT_TRUE(KeySwallowed(kNativeA));

    vkb::TravelReport report = Travel(kA, 0x0100, 0x0105);
    report.calibration = 0x37;
    report.digits = {1, 0, 5};
    report.reference1 = 0x0120;
    report.reference2 = 0x0345;
    ASSERT_TRUE(keyboard->SendTravel(report));
    Poll();
    EXPECT_EQ(View().GetKeyCalibration(kA),
              (MUI::KeyCalibration{true, 40, 0x37, 105, 0x0345 - 0x0120}));
    EXPECT_FALSE(View().GetKeyCalibration(kS).reported);
    EXPECT_EQ(Stroke().GetKeyTravel(), 0) << "the gauge is not the calibration's";

    // The gauge's handlers are locked.
    const std::wstring before = Config(L"global_key_actuation");
    View().SetKeyCheck(kA, true);
    Notify(289, MUI::kNotifyClick, 10);
    EXPECT_EQ(Config(L"global_key_actuation"), before);

    ShowPage(PAGE_KEYS);
    EXPECT_FALSE(dlg->perf.calibrating.load());
    EXPECT_FALSE(KeySwallowed(kNativeA));
    EXPECT_EQ(View().GetKeyboardCtrlMode(), MUI::KeyboardCtrl::kModePerformance);
    EXPECT_TRUE(dlg->perfPage.rapidTriggerSwitch->IsEnabled());
    EXPECT_FALSE(dlg->perfPage.debugSwitch->GetCheck()) << "back to the display as it was";
    EXPECT_FALSE(Stroke().IsRelkeystrokeShown());
    Send();
    EXPECT_FALSE(keyboard->Calibrating());
    // The pause after the end, then its command.
    std::vector<int> codes;
    ASSERT_TRUE(WaitFor([&] {
        for (const int code : TakeQueue()) codes.push_back(code);
        return std::find(codes.begin(), codes.end(), QCMD_AFTER_CALIBRATION) != codes.end();
    }));
}

TEST_F(KeyboardDlgInputReportsTest, TheButtonAgainEndsTheCalibration)
{
    Notify(286);
    Notify(286);
    EXPECT_FALSE(dlg->perf.calibrating.load());
    EXPECT_FALSE(KeySwallowed(kNativeA));
    // Each command sends the state the window shows when the worker takes it.
    Send();
    EXPECT_FALSE(keyboard->Calibrating());
    ASSERT_FALSE(keyboard->Requests().empty());
    EXPECT_EQ(keyboard->Requests().back().Command(), 0xA9);
}

TEST_F(KeyboardDlgInputReportsTest, CalibrationCommandIsRepeatedAtMostOncePer1900Ms)
{
    int64_t now = 0;
    dlg->calibration.nowMs = [&] { return now; };
    Notify(286);
    Send();
    keyboard->ClearLog();
    // The first poll starts the clock; each resend restarts it.
    const struct {
        int64_t at;
        int commands;
    } steps[] = {{0, 0}, {1000, 0}, {1900, 0}, {1901, 1}, {2500, 1}, {3801, 1}, {3802, 2}};
    for (const auto& step : steps) {
        now = step.at;
        dlg->Run();
        EXPECT_EQ(CalibrationCommands(), step.commands) << "at " << step.at;
    }
    // Not on another page: leaving it ends the calibration anyway.
    ShowPage(PAGE_KEYS);
    Send();
    keyboard->ClearLog();
    now = 10000;
    dlg->Run();
    EXPECT_EQ(CalibrationCommands(), 0);
}

TEST_F(KeyboardDlgInputReportsTest, CalibrationEndedFromAnotherThreadEndsOnTheUiThread)
{
    Notify(286);
    ASSERT_TRUE(KeySwallowed(kNativeA));
    // As the worker does when the keyboard goes away.
    std::thread worker([&] { dlg->CloseAllPopups(); });
    worker.join();
    ASSERT_TRUE(WaitFor([&] { return !dlg->perf.calibrating.load(); }));
    EXPECT_FALSE(KeySwallowed(kNativeA));
    EXPECT_TRUE(dlg->perfPage.rapidTriggerSwitch->IsEnabled());
}

}  // namespace
