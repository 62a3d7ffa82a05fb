#include <gtest/gtest.h>

#include "app/KeyboardDlgFixture.h"
#include "app/KeyboardDlgLayoutRows.h"
#include "platform/mui/KeyboardCtrl.h"

namespace {

class KeyboardDlgLayoutTest : public apptest::KeyboardDlgFixture {};

struct Placement {
    unsigned id;
    RECT at1600x970;
    RECT at1920x1080;
};

const Placement kPlacements[] = {
    {30, {0, 0, 1600, 970}, {0, 0, 1920, 1080}},
    {31, {1, 1, 1599, 50}, {1, 1, 1919, 50}},
    {35, {1550, 10, 1582, 40}, {1870, 10, 1902, 40}},
    {37, {1500, 10, 1532, 40}, {1820, 10, 1852, 40}},
    {54, {1330, 20, 1430, 56}, {1650, 20, 1750, 56}},
    {52, {1230, 20, 1340, 56}, {1550, 20, 1660, 56}},
    {51, {1120, 20, 1220, 56}, {1440, 20, 1540, 56}},
    {50, {1020, 20, 1120, 56}, {1340, 20, 1440, 56}},
    {55, {130, 48, 1390, 108}, {130, 48, 1390, 108}},
    {57, {0, 120, 1595, 970}, {0, 120, 1915, 1080}},
    {62, {0, 120, 1595, 970}, {0, 120, 1915, 1080}},
    {63, {-5, 48, 1600, 970}, {-5, 48, 1920, 1080}},
    {64, {-5, 48, 1600, 970}, {-5, 48, 1920, 1080}},
    {65, {650, 406, 928, 564}, {810, 461, 1088, 619}},
    {67, {650, 406, 928, 564}, {810, 461, 1088, 619}},
    {69, {500, 566, 1100, 626}, {660, 621, 1260, 681}},
    {332, {65, 125, 195, 150}, {65, 125, 195, 150}},
    {339, {1100, 225, 1400, 250}, {1100, 225, 1400, 250}},
    {357, {690, 500, 836, 530}, {690, 500, 836, 530}},
    {370, {705, 372, 1065, 402}, {705, 372, 1065, 402}},
    {375, {300, 495, 600, 525}, {300, 495, 600, 525}},
    // Controls no row places keep their empty rectangle.
    {36, {}, {}},
    {39, {}, {}},
    {360, {1105, 336, 1305, 366}, {1105, 336, 1305, 366}},
    {385, {300, 585, 600, 615}, {300, 585, 600, 615}},
    {394, {}, {}},
};

TEST_F(KeyboardDlgLayoutTest, ControlsLieAtTheirRectanglesForTwoClientSizes)
{
    KeyboardDlg& dlg = Build();
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.id);
        EXPECT_EQ(Control(p.id)->GetRect(), p.at1600x970);
    }
    dlg.UISize(RECT{0, 0, 1920, 1080});
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.id);
        EXPECT_EQ(Control(p.id)->GetRect(), p.at1920x1080);
    }
    // Restoring moves everything back.
    dlg.UISize(kClient);
    EXPECT_EQ(Control(35)->GetRect(), (RECT{1550, 10, 1582, 40}));
}

TEST_F(KeyboardDlgLayoutTest, NarrowClientPutsThePanelLeftOfTheClientArea)
{
    KeyboardDlg& dlg = Build();
    dlg.UISize(RECT{0, 0, 251, 100});
    // (251 - 300) / 2 and (100 - 158) / 2 truncate toward zero.
    EXPECT_EQ(Control(66)->GetRect(), (RECT{-24, -29, 254, 129}));
    EXPECT_EQ(Control(69)->GetRect(), (RECT{-174, 131, 426, 191}));
}

TEST_F(KeyboardDlgLayoutTest, AboutLogoTakesItsPictureSizeAndKeyViewsArePlacedWhenPresent)
{
    KeyboardDlg& dlg = Build();
    // The test folder has no skin, so the logo has no size.
    EXPECT_EQ(Control(371)->GetRect(), (RECT{1100, 400, 1100, 400}));
    MUI::MControl* view = dlg.GetControl(272);
    ASSERT_NE(view, nullptr);
    dlg.UISize(RECT{0, 0, 1920, 1080});
    EXPECT_EQ(view->GetRect(), (RECT{230, 200, 1820, 540}));
}

TEST_F(KeyboardDlgLayoutTest, SizingBeforeConstructionDoesNothing)
{
    KeyboardDlg dlg;
    MUI::MControl* background = dlg.CreateArea(L"MPicture", 30);
    dlg.UISize(kClient);
    EXPECT_EQ(background->GetRect(), RECT{});
}

TEST(LayoutRowsTest, CoordinatesResolveAgainstEachEdge)
{
    const RECT client{10, 20, 410, 320};
    const LayoutRow row{1, FromL(5), FromT(-5), FromR(-50), FromB(3)};
    EXPECT_EQ(ResolveRow(row, client), (RECT{15, 15, 360, 323}));
    EXPECT_EQ(ResolveCoord(Px(-7), client), -7);
}

}  // namespace
