// The performance page driven through its control notifications, with the worker run by hand
// against the in-process virtual keyboard: each case ends on the keyboard's performance table
// and settings block.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/MainWindowTestSupport.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MSlider.h"
#include "platform/mui/MText.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using apptest::MainWindowTest;
using Entry = std::array<uint8_t, 8>;

constexpr int kProfile = 1;

class KeyboardDlgPerfPageTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The profile's rows as a new profile gets them.
        ConnectWithPerfRows(kProfile, 1);
        keyboard->ClearLog();
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }
    MUI::KeyboardCtrl& View() { return *dlg->perfPage.keyboard; }
    MUI::KeyStrokeCtrl& Stroke() { return *dlg->perfPage.stroke; }

    void Notify(unsigned id, int code = MUI::kNotifyClick, LPARAM value = 0)
    {
        dlg->OnMessage(id, code, value);
    }
    void Flip(MUI::CSwitchButton* button, bool on)
    {
        button->SetCheck(on);
        Notify(button->GetID());
    }
    // Runs what the handlers queued.
    void Send() { ASSERT_TRUE(Drain()); }

    int IndexOf(int code) const { return dlg->keyTables.maps.IndexOf(code); }
    Entry KeyPerf(int code) const
    {
        return keyboard->KeyPerf(0, static_cast<size_t>(IndexOf(code)));
    }
    std::wstring Config(const wchar_t* key)
    {
        std::wstring value;
        db().GetConfig(kProfile, key, value);
        return value;
    }

    static constexpr int kA = 0x04;
    static constexpr int kS = 0x16;
    static constexpr int kD = 0x07;
};

TEST_F(KeyboardDlgPerfPageTest, GaugeDragSetsTheMarkedKeysAndTheReleaseSendsThem)
{
    View().SetKeyCheck(kA, true);
    View().SetKeyCheck(kS, true);
    Stroke().SetCurKeyActuation(100);
    Notify(289, MUI::kNotifyDragging, 100);
    EXPECT_EQ(Config(L"global_key_actuation"), L"100");
    EXPECT_TRUE(TakeQueue().empty()) << "a drag saves nothing yet";
    Notify(289, MUI::kNotifyClick, 100);
    Send();
    EXPECT_EQ(KeyPerf(kA), (Entry{0xA3, 1, 99, 0, 4, 0, 4, 0}));
    EXPECT_EQ(KeyPerf(kS), (Entry{0xA3, 1, 99, 0, 4, 0, 4, 0}));
    EXPECT_EQ(KeyPerf(kD), (Entry{0xA3, 1, 74, 0, 4, 0, 4, 0}));
}

TEST_F(KeyboardDlgPerfPageTest, RapidTriggerOnContinuousAndOff)
{
    View().SetKeyCheck(kA, true);
    PerfPageControls& ui = dlg->perfPage;
    Flip(ui.rapidTriggerSwitch, true);
    // Separate press and release distances.
    Flip(ui.separateSwitch, true);
    ui.pressSlider->SetPos(20);
    Notify(311, MUI::kNotifyClick, 20);
    ui.releaseSlider->SetPos(30);
    Notify(317, MUI::kNotifyClick, 30);
    Send();
    EXPECT_EQ(KeyPerf(kA), (Entry{0xA3, 1, 74, 0, 19, 0, 29, 0}));
    EXPECT_EQ(Config(L"global_rt1_pos"), L"20");
    EXPECT_EQ(ui.pressLabel->GetTitle(), L"0.40mm");

    Flip(ui.continuousSwitch, true);
    Send();
    EXPECT_EQ(KeyPerf(kA)[1], 2);
    // Turning rapid trigger off while continuous is on sends mode 0.
    Flip(ui.rapidTriggerSwitch, false);
    Send();
    EXPECT_EQ(KeyPerf(kA)[1], 0);
    EXPECT_FALSE(ui.continuousSwitch->GetCheck());
    EXPECT_EQ(Config(L"perf_rapidtrigger_mode"), L"0");
    EXPECT_EQ(KeyPerf(kD)[1], 1) << "an unmarked key keeps its mode";
}

TEST_F(KeyboardDlgPerfPageTest, DeadZonesAndSwitchTypeReachTheMarkedKeys)
{
    View().SetKeyCheck(kD, true);
    PerfPageControls& ui = dlg->perfPage;
    ASSERT_GT(ui.switchTypeCombo->GetItemCount(), 2);
    ui.switchTypeCombo->SelectData(2);
    Notify(285);
    Send();
    EXPECT_EQ(KeyPerf(kD)[0], 0xA2);
    EXPECT_EQ(Config(L"switch_type"), L"2");

    Flip(ui.deadZoneSwitch, true);
    Send();
    // Dead zones 12 and 12 above the distances' high bits.
    EXPECT_EQ(KeyPerf(kD), (Entry{0xA2, 1, 74, 0, 4, 24, 4, 24}));
    EXPECT_EQ(Config(L"dead_zone"), L"1");
    Flip(ui.deadZoneSwitch, false);
    Send();
    EXPECT_EQ(KeyPerf(kD), (Entry{0xA2, 1, 74, 0, 4, 0, 4, 0}));
}

TEST_F(KeyboardDlgPerfPageTest, PresetsAndBottomRapidTrigger)
{
    View().ResetAllItemCheck(true);
    dlg->perfPage.presetCombo->SelectData(202);
    Notify(280);
    Send();
    EXPECT_EQ(KeyPerf(kA), (Entry{0xA3, 1, 49, 0, 4, 0, 4, 0}));
    EXPECT_EQ(Config(L"global_key_actuation"), L"50");
    EXPECT_EQ(Stroke().GetCurKeyActuation(), 50);

    dlg->perfPage.presetCombo->SelectData(203);
    Notify(280);
    Send();
    EXPECT_EQ(KeyPerf(kS), (Entry{0xA3, 0, 89, 0, 0, 0, 0, 0}));

    Flip(dlg->perfPage.bottomSwitch, true);
    Send();
    EXPECT_EQ(keyboard->Settings()[7] & 0x02, 0x02);
    Flip(dlg->perfPage.bottomSwitch, false);
    Send();
    EXPECT_EQ(keyboard->Settings()[7] & 0x02, 0);
}

TEST_F(KeyboardDlgPerfPageTest, ResetActuationIsSavedAtOnce)
{
    Notify(294);
    Send();
    EXPECT_EQ(KeyPerf(kA)[2], 25);
    EXPECT_EQ(KeyPerf(kD)[2], 25);
    EXPECT_EQ(View().GetCheckItemCount(), 0);
}

TEST_F(KeyboardDlgPerfPageTest, WithoutMarkedKeysASliderChangesNothing)
{
    const std::wstring before = Config(L"global_sensitivity_pos");
    dlg->perfPage.combinedSlider->SetPos(40);
    Notify(305, MUI::kNotifyClick, 40);
    EXPECT_TRUE(TakeQueue().empty());
    EXPECT_EQ(Config(L"global_sensitivity_pos"), before) << "stored nothing";
}

TEST_F(KeyboardDlgPerfPageTest, PrecisionRescalesTheSlidersAndClampsToTheMinimum)
{
    PerfPageControls& ui = dlg->perfPage;
    // The distance in millimetres stays: 50 x 0.02 = 100 x 0.01 = 50 x 0.02.
    ui.combinedSlider->SetPos(50);
    dlg->SetSwitchPrecision(103);
    EXPECT_EQ(ui.combinedSlider->GetPos(), 100);
    EXPECT_EQ(ui.combinedSlider->GetRangeMax(), 220);
    dlg->SetSwitchPrecision(104);
    EXPECT_EQ(ui.combinedSlider->GetPos(), 50);
    EXPECT_EQ(ui.combinedSlider->GetRangeMin(), 5);
    EXPECT_EQ(View().GetPrecision(), Stroke().GetPrecision());
    EXPECT_EQ(View().GetPrecision().value[0], 10);
    View().SetKeyCheck(kA, true);
    Notify(302);
    EXPECT_EQ(ui.combinedSlider->GetPos(), 5);
    EXPECT_EQ(ui.combinedLabel->GetTitle(), L"0.10mm");
    EXPECT_EQ(Config(L"global_sensitivity_pos"), L"5");
    dlg->SetSwitchPrecision(101);
    ui.combinedSlider->SetPos(0);
    Notify(305, MUI::kNotifyClick, 0);
    EXPECT_EQ(ui.combinedSlider->GetPos(), 1);
    EXPECT_EQ(ui.combinedLabel->GetTitle(), L"0.02mm");
}

}  // namespace
