#include <gtest/gtest.h>

#include "platform/mui/ControlHarness.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyboardCtrl.h"

namespace {

using muitest::ControlTest;
using muitest::Note;

class KeyStrokeCtrlTest : public ControlTest {};

// A gauge 220 pixels high has 200 pixels of travel between its 10-pixel margins; a 400
// (0.01 mm) switch at step 2 has 200 positions, one per pixel.
TEST_F(KeyStrokeCtrlTest, DragMovesTheActuationAndTheReleaseReportsIt)
{
    auto* gauge = Make<MUI::KeyStrokeCtrl>(L"KeyStrokeCtrl", 289, RECT{0, 0, 100, 220});
    gauge->SetSwitchType(3, 400);
    gauge->SetCurKeyActuation(75);
    muitest::Pump();
    EXPECT_TRUE(Notes(289).empty()) << "values set by the program notify nothing";
    QWidget* w = gauge->Widget();
    muitest::Press(w, QPoint(50, 10 + 40));
    muitest::Move(w, QPoint(50, 10 + 100));
    muitest::Move(w, QPoint(50, 500));  // past the bottom
    muitest::Release(w, QPoint(50, 500));
    EXPECT_EQ(Notes(289), (std::vector<Note>{{289, MUI::kNotifyDragging, 40},
                                             {289, MUI::kNotifyDragging, 100},
                                             {289, MUI::kNotifyDragging, 200},
                                             {289, MUI::kNotifyClick, 200}}));
    EXPECT_EQ(gauge->GetCurKeyActuation(), 200);
    // A shorter switch keeps the actuation inside its travel.
    gauge->SetSwitchType(1, 330);
    EXPECT_EQ(gauge->GetCurKeyActuation(), 165);
    int top = -1;
    int bottom = -1;
    gauge->SetDeadzoneValue(12, -3);
    gauge->GetDeadzoneValue(top, bottom);
    EXPECT_EQ(top, 12);
    EXPECT_EQ(bottom, 0);
}

TEST_F(KeyStrokeCtrlTest, KeyViewPerformanceGoesToTheMarkedKeysOnly)
{
    auto* view = Make<MUI::KeyboardCtrl>(L"KeyboardCtrl", 272, RECT{0, 0, 300, 100});
    view->AddKeyItem(L"A", L"", 4, 0, 0, 50, 50, L"", 0);
    view->AddKeyItem(L"B", L"", 5, 60, 0, 110, 50, L"", 0);
    ASSERT_TRUE(view->SetKeyPerfInfo(5, {3, 1, 75, 5, 5, 0, 0, 0}));
    view->SetKeyCheck(4, true);
    view->SetKeyPerfInfo(2, 50, 7, 9);
    view->SetDeadZoneValue(12, 10, true);
    view->SetKeySwitchType(2);
    MUI::KeyPerfInfo a;
    MUI::KeyPerfInfo b;
    ASSERT_TRUE(view->GetKeyPerfInfo(4, a));
    ASSERT_TRUE(view->GetKeyPerfInfo(5, b));
    EXPECT_EQ(a, (MUI::KeyPerfInfo{2, 2, 50, 7, 9, 12, 10, 1}));
    EXPECT_EQ(b, (MUI::KeyPerfInfo{3, 1, 75, 5, 5, 0, 0, 0}));
    view->SetKeyPerfSwitchType(3);
    ASSERT_TRUE(view->GetKeyPerfInfo(4, a));
    EXPECT_EQ(a.switchType, 3);
    EXPECT_FALSE(view->GetKeyPerfInfo(99, a));
}

}  // namespace
