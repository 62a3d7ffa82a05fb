#include <gtest/gtest.h>

#include "platform/mui/CColorButton.h"
#include "platform/mui/CirclePalette.h"
#include "platform/mui/ControlHarness.h"

namespace {

using muitest::ControlTest;

class PaletteTest : public ControlTest {};
using MUI::MakeColorRef;
using muitest::Note;

TEST_F(PaletteTest, ColorButtonsFormARadioGroupAndKeepTheirColours)
{
    std::vector<MUI::CColorButton*> buttons;
    const MUI::COLORREF colours[] = {MakeColorRef(255, 192, 12), MakeColorRef(255, 128, 12),
                                     MakeColorRef(255, 5, 5)};
    for (int i = 0; i < 3; ++i) {
        auto* button = Make<MUI::CColorButton>(L"CColorButton", 174 + i,
                                               RECT{10 + 40 * i, 10, 40 + 40 * i, 40});
        button->SetGroup(L"IDC_LIGHT_STC_DEFAULTCOLOR");
        button->SetColor(colours[i]);
        buttons.push_back(button);
    }
    buttons[0]->SetCheck(true);
    muitest::Pump();
    muitest::Click(buttons[2]->Widget(), QPoint(15, 15));
    EXPECT_FALSE(buttons[0]->GetCheck());
    EXPECT_TRUE(buttons[2]->GetCheck());
    ASSERT_EQ(Notes(176).size(), 1u);
    EXPECT_EQ(Notes(176)[0].code, MUI::kNotifyClick);
    EXPECT_TRUE(Notes(174).empty());
    EXPECT_EQ(buttons[2]->GetColor(), 0x0505FFu);  // R | G << 8 | B << 16
    EXPECT_EQ(buttons[1]->GetColor(), MakeColorRef(255, 128, 12));
}

TEST_F(PaletteTest, PaletteColoursFollowTheWheel)
{
    // A 161-pixel wheel: centre (80, 80), radius 80.5.
    auto* palette = Make<MUI::CirclePalette>(L"CirclePalette", 167, RECT{0, 0, 161, 161});
    struct Case {
        int x, y;
        int r, g, b;
    };
    // Centre white; rim: red to the right, green up-left, blue down-left.
    const Case cases[] = {
        {80, 80, 255, 255, 255}, {160, 80, 255, 0, 0}, {40, 11, 0, 255, 0}, {40, 149, 0, 0, 255}};
    for (const Case& c : cases) {
        MUI::COLORREF colour = 0;
        ASSERT_TRUE(palette->ColorAt(c.x, c.y, &colour)) << c.x << "," << c.y;
        EXPECT_NEAR(MUI::ColorRefRed(colour), c.r, 12) << c.x << "," << c.y;
        EXPECT_NEAR(MUI::ColorRefGreen(colour), c.g, 12) << c.x << "," << c.y;
        EXPECT_NEAR(MUI::ColorRefBlue(colour), c.b, 12) << c.x << "," << c.y;
    }
    EXPECT_FALSE(palette->ColorAt(2, 2, nullptr));  // a corner outside the circle
}

TEST_F(PaletteTest, PaletteDragReportsColoursAndTheReleaseOnlyOnTheWheel)
{
    auto* palette = Make<MUI::CirclePalette>(L"CirclePalette", 167, RECT{0, 0, 161, 161});
    palette->SetColor(MakeColorRef(1, 2, 3));
    QWidget* w = palette->Widget();
    muitest::Press(w, QPoint(2, 2));  // outside: no pick, no drag
    muitest::Release(w, QPoint(2, 2));
    EXPECT_TRUE(Notes(167).empty());
    EXPECT_EQ(palette->GetColor(), MakeColorRef(1, 2, 3));

    muitest::Press(w, QPoint(80, 80));
    muitest::Move(w, QPoint(159, 80));
    muitest::Release(w, QPoint(159, 80));
    const auto notes = Notes(167);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].code, MUI::kNotifyDragging);
    EXPECT_EQ(notes[1].code, MUI::kNotifyDragging);
    EXPECT_EQ(notes[2].code, MUI::kNotifyClick);
    const MUI::COLORREF picked = palette->GetColor();
    EXPECT_EQ(notes[2].value, static_cast<LPARAM>(picked));
    EXPECT_GT(MUI::ColorRefRed(picked), 240);
    EXPECT_LT(MUI::ColorRefGreen(picked), 20);
}

}  // namespace
