#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/mui/ControlHarness.h"
#include "platform/mui/KeyboardCtrl.h"

namespace {

using MUI::KeyboardCtrl;
using muitest::ControlTest;
using muitest::Note;

// A control of 400 x 200 holding a keyboard of 300 x 100, drawn from (50, 50) of the control;
// four 50-pixel keys in a row with codes 4..7 (key k spans x 50k..50k+50 of the keyboard).
class KeyboardCtrlTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        view = Make<KeyboardCtrl>(L"KeyboardCtrl", 272, RECT{230, 200, 630, 400});
        view->SetKeyboardSize(300, 100);
        for (int k = 0; k < 4; ++k)
            view->AddKeyItem(L"K" + std::to_wstring(k), L"desc", 4 + k, 50 * k, 0, 50 * k + 50, 50,
                             L"", 0x232323);
        muitest::Pump();
    }
    // Control-relative point at the middle of key k.
    static QPoint KeyPoint(int k) { return QPoint(50 + 50 * k + 25, 25); }

    KeyboardCtrl* view = nullptr;
};

TEST_F(KeyboardCtrlTest, KeysKeepTheirColoursCaptionsAndChecks)
{
    ASSERT_EQ(view->GetKeyItemCount(), 4);
    EXPECT_TRUE(view->SetKeyColor(5, 0x0000FF));
    EXPECT_FALSE(view->SetKeyColor(99, 0x0000FF));
    view->SetKeyCheck(6, true);
    view->SetKeyCheck(7, true);
    view->SetAllSelectColor(0x00FF00);
    EXPECT_TRUE(view->SetKeyItemInfo(4, L"M1\n(3)", 3, L"M1"));

    const auto keys = view->GetKeyItems();
    EXPECT_EQ(keys[0].caption, L"M1\n(3)");
    EXPECT_EQ(keys[0].type, 3);
    EXPECT_EQ(keys[1].color, 0x0000FFu);
    EXPECT_EQ(keys[2].color, 0x00FF00u);
    EXPECT_EQ(keys[3].color, 0x00FF00u);
    EXPECT_EQ(keys[0].color, 0x232323u);
    EXPECT_EQ(keys[2].rect, (RECT{100, 0, 150, 50}));
    EXPECT_EQ(view->GetCheckItemCount(), 2);

    view->InvertSelectItem();
    EXPECT_EQ(view->GetCheckedKeys(), (std::vector<int>{4, 5}));
    view->ResetAllItemCheck(true);
    EXPECT_EQ(view->GetCheckItemCount(), 4);
    view->ResetAllItemsColor(0);
    view->ResetTipKey();
    for (const auto& key : view->GetKeyItems()) {
        EXPECT_EQ(key.color, 0u);
        EXPECT_EQ(key.caption, key.name);
    }
    view->ClearKeyItems();
    EXPECT_EQ(view->GetKeyItemCount(), 0);
    EXPECT_EQ(view->GetCurrentKeyValue(), -1);
}

TEST_F(KeyboardCtrlTest, PointsMapToKeysThroughTheCentredKeyboard)
{
    // Client coordinates: the control starts at (230, 200); the keyboard is centred across
    // (50 pixels in) and hangs from the control's top edge.
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 50 + 10, 200 + 10), 4);
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 50 + 160, 200 + 49), 7);
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 50 + 160, 200 + 50), 0);  // below the row
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 10, 200 + 10), 0);        // left of the keyboard
    EXPECT_EQ(view->GetKeyCodeAt(KeyPoint(2).x(), KeyPoint(2).y()), 6);
}

TEST_F(KeyboardCtrlTest, KeyboardIsCentredOnItsPictureWhereThatLiesInTheView)
{
    // A picture of 340 x 160 from (270, 210) of the window: its part inside the view is
    // (40, 10)..(380, 170) of the view; the 300 x 100 keyboard is centred across it (from 60)
    // and hangs from its top.
    view->SetBoardArea(RECT{270, 210, 610, 370});
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 60 + 5, 200 + 10 + 5), 4);
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 60 + 195, 200 + 10 + 45), 7);
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 55, 200 + 15), 0);  // left of the keyboard
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 65, 200 + 5), 0);   // above it
    // A picture reaching above the view: the keyboard hangs from the view's top.
    view->SetBoardArea(RECT{270, 150, 610, 370});
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 60 + 5, 200 + 5), 4);
    // A picture outside the view: the keyboard hangs from the view's top again.
    view->SetBoardArea(RECT{700, 0, 900, 100});
    EXPECT_EQ(view->GetKeyCodeByPoint(230 + 50 + 10, 200 + 10), 4);
}

TEST_F(KeyboardCtrlTest, SingleSelectionClicksCheckOneKeyAndReportIt)
{
    view->SetKeyCheck(7, true);
    muitest::Click(view->Widget(), KeyPoint(1));
    EXPECT_EQ(view->GetCurrentKeyValue(), 5);
    EXPECT_EQ(view->GetCheckedKeys(), (std::vector<int>{5}));
    muitest::Click(view->Widget(), QPoint(5, 5));  // outside every key
    EXPECT_EQ(Notes(272), (std::vector<Note>{{272, MUI::kNotifyClick, 5}}));
    EXPECT_EQ(view->GetSelectKey(), 5);
}

TEST_F(KeyboardCtrlTest, MultipleSelectionPaintsTheFirstKeysNewState)
{
    view->SetSelectMode(KeyboardCtrl::kSelectMultiple);
    view->SetKeyCheck(6, true);
    QWidget* w = view->Widget();
    muitest::Press(w, KeyPoint(0));  // 4 becomes checked: the drag checks
    muitest::Move(w, KeyPoint(1));
    muitest::Move(w, KeyPoint(2));
    muitest::Release(w, KeyPoint(2));
    EXPECT_EQ(view->GetCheckedKeys(), (std::vector<int>{4, 5, 6}));
    muitest::Press(w, KeyPoint(1));  // 5 becomes unchecked: the drag unchecks
    muitest::Move(w, KeyPoint(3));
    muitest::Release(w, KeyPoint(3));
    muitest::Move(w, KeyPoint(2), Qt::NoButton);  // no drag after the release
    EXPECT_EQ(view->GetCheckedKeys(), (std::vector<int>{4, 6}));
    EXPECT_EQ(Notes(272),
              (std::vector<Note>{{272, MUI::kNotifyClick, 4}, {272, MUI::kNotifyClick, 5}}));
}

TEST_F(KeyboardCtrlTest, WorkerBracketsAreSeenWholeWhileTheUiThreadPaints)
{
    // The worker recolours every key and flips every check inside one bracket; the UI thread,
    // painting meanwhile, must never find the keys half done inside its own bracket. The UI
    // thread paints for as long as the worker takes, however few turns the machine gives it.
    constexpr int kRounds = 300;
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        for (int round = 1; round <= kRounds && !stop; ++round) {
            view->EnterCriSec();
            for (int code = 4; code < 8; ++code) {
                view->SetKeyColor(code, static_cast<MUI::COLORREF>(round));
                view->SetKeyCheck(code, round % 2 == 1);
                view->UpdateControl();
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            }
            view->LeaveCriSec();
        }
        finished = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int mixed = 0;
    int rounds = 0;
    do {
        view->Widget()->repaint();
        view->EnterCriSec();
        const auto keys = view->GetKeyItems();
        view->LeaveCriSec();
        for (const auto& key : keys)
            if (key.color != keys[0].color || key.checked != keys[0].checked) ++mixed;
        if (++rounds % 8 == 0) muitest::Pump();
        if (std::chrono::steady_clock::now() > deadline) stop = true;
    } while (!finished);
    worker.join();
    EXPECT_EQ(mixed, 0);
    EXPECT_FALSE(stop) << "the worker did not finish in time";
    EXPECT_EQ(view->GetKeyColor(7), static_cast<MUI::COLORREF>(kRounds));
    EXPECT_EQ(view->GetCheckItemCount(), 0);  // round 300 unchecks
}

TEST_F(KeyboardCtrlTest, CalibrationModeKeepsEachKeysReportUntilReset)
{
    EXPECT_EQ(view->GetKeyboardCtrlMode(), KeyboardCtrl::kModePerformance);
    view->SetKeyboardCtrlMode(KeyboardCtrl::kModeCalibration);
    EXPECT_TRUE(view->SetKeyCalibration(5, 55, 7, 105, 300));
    EXPECT_FALSE(view->SetKeyCalibration(99, 10, 1, 1, 1));
    EXPECT_EQ(view->GetKeyCalibration(5), (MUI::KeyCalibration{true, 40, 7, 105, 300}))
        << "travel is kept within the bottom";
    EXPECT_EQ(view->GetKeyTravel(5), 40);
    EXPECT_FALSE(view->GetKeyCalibration(4).reported);
    // Both looks paint, with reported and waiting keys.
    view->Widget()->repaint();
    view->SetKeyboardCtrlMode(KeyboardCtrl::kModePerformance);
    EXPECT_TRUE(view->SetKeyActuation(6, 20));
    view->Widget()->repaint();
    view->ResetKeyCalibration();
    EXPECT_EQ(view->GetKeyCalibration(5), MUI::KeyCalibration{});
    EXPECT_EQ(view->GetKeyTravel(5), 0);
    EXPECT_EQ(view->GetKeyTravel(6), 0);
}

}  // namespace
