#include <gtest/gtest.h>

#include "platform/mui/ControlHarness.h"
#include "platform/mui/MLevelCtrl.h"
#include "platform/mui/MProgress.h"
#include "platform/mui/MSlider.h"

namespace {

using muitest::ControlTest;

class SliderTest : public ControlTest {};
using muitest::Note;

// A slider 216 pixels wide without a thumb picture has a 16-pixel thumb, so x = 8 + 2 p maps to
// position p of the range 0..100.
TEST_F(SliderTest, SliderDragReportsEveryMoveAndTheRelease)
{
    auto* slider = Make<MUI::MSlider>(L"MSlider", 305, RECT{10, 10, 226, 40});
    slider->SetRange(0, 100);
    slider->SetPos(50);
    muitest::Pump();
    EXPECT_TRUE(Notes(305).empty());
    QWidget* w = slider->Widget();
    muitest::Press(w, QPoint(8 + 2 * 10, 15));
    EXPECT_TRUE(slider->IsDragging());
    muitest::Move(w, QPoint(8 + 2 * 10, 15));  // no move: nothing new
    muitest::Move(w, QPoint(8 + 2 * 30, 15));
    muitest::Move(w, QPoint(500, 15));  // past the end
    muitest::Release(w, QPoint(500, 15));
    EXPECT_EQ(Notes(305), (std::vector<Note>{{305, MUI::kNotifyDragging, 10},
                                             {305, MUI::kNotifyDragging, 30},
                                             {305, MUI::kNotifyDragging, 100},
                                             {305, MUI::kNotifyClick, 100}}));
    EXPECT_EQ(slider->GetPos(), 100);
    EXPECT_FALSE(slider->IsDragging());
    muitest::Move(w, QPoint(8, 15), Qt::NoButton);  // moves after the release change nothing
    EXPECT_EQ(slider->GetPos(), 100);
}

TEST_F(SliderTest, SliderRangeKeepsThePositionInsideAndCarriesThePrecision)
{
    auto* slider = Make<MUI::MSlider>(L"MSlider", 311, RECT{10, 10, 226, 40});
    slider->SetRange(110, 1);  // given the wrong way round
    EXPECT_EQ(slider->GetRangeMin(), 1);
    EXPECT_EQ(slider->GetRangeMax(), 110);
    EXPECT_EQ(slider->GetPos(), 1);
    slider->SetPos(500);
    EXPECT_EQ(slider->GetPos(), 110);
    slider->SetRange(1, 50);
    EXPECT_EQ(slider->GetPos(), 50);
    const MUI::PRECISION precision{{10, 2, 5, 5, 5, 110, 25}};
    slider->SetPrecision(precision);
    EXPECT_EQ(slider->GetPrecision(), precision);
    slider->SetEnabled(false);
    muitest::Pump();
    muitest::Click(slider->Widget(), QPoint(20, 15));
    EXPECT_TRUE(Notes(311).empty());
}

TEST_F(SliderTest, LevelControlPicksTheBlockUnderTheMouse)
{
    // Five levels (0..4) over 100 pixels: 20 pixels per block.
    auto* level = Make<MUI::MLevelCtrl>(L"MLevelCtrl", 156, RECT{10, 10, 110, 30});
    struct Case {
        int x;
        int level;
    };
    for (const Case c : {Case{0, 0}, Case{19, 0}, Case{20, 1}, Case{59, 2}, Case{99, 4}}) {
        muitest::Click(level->Widget(), QPoint(c.x, 10));
        EXPECT_EQ(level->GetLevel(), c.level) << c.x;
        EXPECT_EQ(Notes(156).back(), (Note{156, MUI::kNotifyClick, c.level}));
    }
    level->SetRange(0, 5);
    level->SetLevel(9);
    EXPECT_EQ(level->GetLevel(), 5);
}

TEST_F(SliderTest, ProgressStaysInsideItsRange)
{
    auto* bar = Make<MUI::MProgress>(L"MProgress", 31, RECT{20, 30, 371, 56});
    bar->SetPos(140);
    EXPECT_EQ(bar->GetPos(), 100);
    bar->SetPos(-3);
    EXPECT_EQ(bar->GetPos(), 0);
    bar->SetPos(42);
    muitest::Pump();
    EXPECT_FALSE(bar->Widget()->grab().isNull());
    EXPECT_EQ(bar->GetPos(), 42);
}

}  // namespace
