#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <string_view>

#include "app/KeyboardDlgFixture.h"
#include "app/KeyboardDlgLayoutRows.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MPicture.h"

namespace {

class KeyboardDlgLayoutTest : public apptest::KeyboardDlgFixture {};

// Every placed control of the window with its class and its rectangle, as "left, top, right,
// bottom": each coordinate a sum of numbers and of the client edges L, T, R, B, the no-keyboard
// panel's centring values x, y, x2, and a picture's "image width" and "image height".
struct Row {
    unsigned id;
    const char* rect;
    const char* className;
};

const Row kRows[] = {
    {30, "L, T, R, B", "MPicture"},
    {31, "1, 1, R-1, 50", "CRoundArea"},
    {35, "R-50, 10, R-18, 40", "MImageButton"},
    {37, "R-100, 10, R-68, 40", "MImageButton"},
    {54, "R-270, 20, R-170, 56", "MComboBox2"},
    // The setting pills evenly spaced (100 wide, pitch 103).
    {52, "R-373, 20, R-273, 56", "MComboBox2"},
    {51, "R-476, 20, R-376, 56", "MComboBox2"},
    {50, "R-579, 20, R-479, 56", "MComboBox2"},
    {55, "130, 48, 1390, 108", "MTabCtrl"},
    {57, "0, 120, R-5, B", "MTabLayout"},
    {58, "0, 120, R-5, B", "MTabLayout"},
    {59, "0, 120, R-5, B", "MTabLayout"},
    {61, "0, 120, R-5, B", "MTabLayout"},
    {60, "0, 120, R-5, B", "MTabLayout"},
    {62, "0, 120, R-5, B", "MTabLayout"},
    {63, "-5, 48, R, B", "MTabLayout"},
    {64, "-5, 48, R, B", "CRoundArea"},
    {65, "x, y, x + 278, y + 158", "MPicture"},
    {66, "x, y, x + 278, y + 158", "MPicture"},
    {67, "x, y, x + 278, y + 158", "MPicture"},
    {69, "x2, y + 160, x2 + 600, y + 220", "MText"},
    {82, "230, 200, R-100, 540", "KeyboardCtrl"},
    {104, "230, 200, R-100, 540", "KeyboardCtrl"},
    {138, "230, 200, R-100, 540", "KeyboardCtrl"},
    {272, "230, 200, R-100, 540", "KeyboardCtrl"},
    {84, "340, B-420, 1410, B-90", "MPicture"},
    {80, "7, 154, 244, 156", "CRoundArea"},
    {81, "65, 125, 195, 150", "MText"},
    {95, "1154, 120, 1514, 140", "KeyLayerCtrl"},
    {97, "33, 285, 203, 885", "KeyTypeTab"},
    {98, "390, 480, R-50, B-110", "KeyFuncControl"},
    {99, "390, 480, R-50, B-110", "KeyValueList2"},
    {90, "900, B-50, 1030, B-27", "MComboBox3"},
    {91, "R-542, B-50, R-477, B-27", "MButton"},
    {92, "R-452, B-50, R-387, B-27", "MButton"},
    {94, "R-362, B-50, R-297, B-27", "MButton"},
    {93, "R-272, B-50, R-207, B-27", "MButton"},
    {70, "370, B-360, 472, B-205", "MPicture"},
    {71, "495, B-360, 597, B-205", "MPicture"},
    {72, "620, B-360, 722, B-205", "MPicture"},
    {73, "745, B-360, 847, B-205", "MPicture"},
    {74, "870, B-360, 972, B-205", "MPicture"},
    {75, "995, B-360, 1097, B-205", "MPicture"},
    {76, "1120, B-360, 1222, B-205", "MPicture"},
    {77, "1245, B-360, 1347, B-205", "MPicture"},
    {100, "350, B-400, 1390, B-80", "CRoundArea"},
    {102, "7, 154, 244, 156", "CRoundArea"},
    {103, "65, 125, 195, 150", "MText"},
    {109, "R-542, B-50, R-477, B-27", "MButton"},
    {110, "R-452, B-50, R-387, B-27", "MButton"},
    {112, "R-362, B-50, R-297, B-27", "MButton"},
    {111, "R-272, B-50, R-207, B-27", "MButton"},
    {113, "1154, 120, 1514, 140", "KeyLayerCtrl"},
    {116, "360, B-390, 560, B-360", "MText"},
    {117, "360, B-370, 710, B-270", "MText"},
    {118, "360, B-280, 560, B-250", "MText"},
    {119, "360, B-250, 710, B-85", "CKeyTestCtrl"},
    {120, "740, B-390, 860, B-360", "MText"},
    {121, "860, B-390, 950, B-360", "MText"},
    {122, "740, B-360, R-400, B-90", "KeyDKSCtrlEx"},
    {123, "33, 270, 203, 305", "MButton1"},
    {124, "33, 310, 203, 345", "MButton1"},
    {125, "33, 350, 203, 385", "MButton1"},
    {126, "33, 390, 203, 425", "MButton1"},
    {127, "33, 430, 203, 465", "MButton1"},
    {128, "33, 470, 203, 505", "MButton1"},
    {218, "330, 200, R-100, 560", "MPicture"},
    {214, "350, B-400, 1390, B-80", "CRoundArea"},
    {216, "7, 154, 244, 156", "CRoundArea"},
    {217, "65, 125, 195, 150", "MText"},
    {223, "L+185, 610, L+215, 640", "CImageButton"},
    {222, "L+218, 610, L+248, 640", "CImageButton"},
    {226, "33, 205, 203, B-410", "MListBox"},
    {227, "380, 585, 651, 615", "MText"},
    {228, "380, 615, 670, 641", "MComboBox"},
    {229, "380, 655, 560, 685", "CRadioButton"},
    {230, "380, 690, 560, 720", "CRadioButton"},
    {232, "380, 735, 631, 758", "MEdit"},
    {233, "380, 735, 631, 758", "MEdit"},
    {234, "380, 735, 631, 758", "MComboBox"},
    {235, "380, 785, 445, 808", "MButton"},
    {244, "700, 585, 860, 615", "MText"},
    {243, "700, 615, 890, 638", "MEdit"},
    {245, "700, 661, 951, 691", "CRadioButton"},
    {246, "700, 696, 1000, 726", "CRadioButton"},
    {247, "700, 731, 860, 761", "CRadioButton"},
    {248, "700, 781, 890, 804", "MEdit"},
    {249, "895, 779, 970, 809", "MText"},
    {250, "R-400, B-260, R-286, B-237", "MButton"},
    {251, "R-400, B-260, R-286, B-237", "MButton"},
    {252, "R-440, B-310, R-438, B-165", "CRoundArea"},
    {254, "0, 570, 160, 600", "MText"},
    {253, "5, 650, 250, B-80", "CRoundArea"},
    {259, "7, 651, 248, 680", "CRoundArea"},
    {260, "-30, 650, 130, 680", "MText"},
    {261, "70, 650, 170, 680", "MText"},
    {262, "150, 650, 270, 680", "MText"},
    {263, "0, 680, 253, B-80", "CRecordList"},
    {264, "760, B-155, 840, B-132", "MButton"},
    {256, "5, 610, 35, 640", "CImageButton"},
    {255, "38, 610, 68, 640", "CImageButton"},
    {257, "71, 610, 101, 640", "CImageButton"},
    {258, "104, 610, 134, 640", "CImageButton"},
    {136, "7, 154, 244, 156", "CRoundArea"},
    {137, "65, 125, 195, 150", "MText"},
    {144, "1000, B-50, 1125, B-27", "MComboBox3"},
    {145, "R-452, B-50, R-387, B-27", "MButton"},
    {147, "R-362, B-50, R-297, B-27", "MButton"},
    {146, "R-272, B-50, R-207, B-27", "MButton"},
    {148, "0, B-200, L+255, B-198", "CRoundArea"},
    {149, "10, T+200, 240, T+230", "MText"},
    {150, "170, T+200, 240, T+230", "CSwitchButton"},
    {151, "30, T+270, 330, T+780", "MListBoxEx"},
    {152, "450, B-340, 650, B-310", "MText"},
    {153, "370, B-340, 470, B-310", "MText"},
    {154, "475, B-333, 670, B-310", "MSlider"},
    {155, "370, B-300, 470, B-264", "MText"},
    {156, "475, B-293, 670, B-273", "MLevelCtrl"},
    {157, "370, B-260, 470, B-230", "MText"},
    {158, "475, B-255, 528, B-223", "CRadioButton"},
    {160, "475, B-255, 528, B-223", "CRadioButton"},
    {202, "475, B-255, 528, B-223", "CRadioButton"},
    {204, "475, B-255, 528, B-223", "CRadioButton"},
    {159, "555, B-255, 608, B-223", "CRadioButton"},
    {161, "555, B-255, 608, B-223", "CRadioButton"},
    {203, "555, B-255, 608, B-223", "CRadioButton"},
    {205, "555, B-255, 608, B-223", "CRadioButton"},
    {166, "370, 590, 470, 620", "MText"},
    {163, "900, 590, 1000, 620", "MText"},
    {162, "870, 590, 900, 620", "CCheckButton"},
    {164, "350, B-400, 1390, B-80", "CRoundArea"},
    {167, "920, B-300, 1080, B-140", "CirclePalette"},
    {171, "902, B-128, 967, B-104", "MEdit"},
    {172, "972, B-128, 1037, B-104", "MEdit"},
    {173, "1042, B-128, 1107, B-104", "MEdit"},
    {174, "R-450, B-330, R-420, B-300", "CColorButton"},
    {175, "R-410, B-330, R-380, B-300", "CColorButton"},
    {176, "R-370, B-330, R-340, B-300", "CColorButton"},
    {177, "R-330, B-330, R-300, B-300", "CColorButton"},
    {178, "R-290, B-330, R-260, B-300", "CColorButton"},
    {179, "R-450, B-290, R-420, B-260", "CColorButton"},
    {180, "R-410, B-290, R-380, B-260", "CColorButton"},
    {181, "R-370, B-290, R-340, B-260", "CColorButton"},
    {182, "R-330, B-290, R-300, B-260", "CColorButton"},
    {183, "R-290, B-290, R-260, B-260", "CColorButton"},
    {184, "R-450, B-250, R-420, B-220", "CColorButton"},
    {185, "R-410, B-250, R-380, B-220", "CColorButton"},
    {186, "R-370, B-250, R-340, B-220", "CColorButton"},
    {187, "R-330, B-250, R-300, B-220", "CColorButton"},
    {188, "R-290, B-250, R-260, B-220", "CColorButton"},
    {189, "R-450, B-210, R-420, B-180", "CColorButton"},
    {190, "R-410, B-210, R-380, B-180", "CColorButton"},
    {191, "R-370, B-210, R-340, B-180", "CColorButton"},
    {192, "R-330, B-210, R-300, B-180", "CColorButton"},
    {193, "R-290, B-210, R-260, B-180", "CColorButton"},
    {194, "R-450, B-170, R-420, B-140", "CColorButton"},
    {195, "R-410, B-170, R-380, B-140", "CColorButton"},
    {196, "R-370, B-170, R-340, B-140", "CColorButton"},
    {197, "R-330, B-170, R-300, B-140", "CColorButton"},
    {198, "R-290, B-170, R-260, B-140", "CColorButton"},
    {201, "50, B-180, 190, B-150", "MButton"},
    {200, "50, B-140, 190, B-110", "MButton"},
    {199, "50, B-100, 190, B-70", "MButton"},
    {206, "370, B-320, 530, B-290", "MText"},
    {207, "370, B-290, 630, B-260", "MComboBox"},
    {208, "370, B-215, 570, B-185", "MText"},
    {209, "370, B-185, 630, B-145", "MLevelCtrl"},
    {210, "670, B-320, 870, B-290", "MText"},
    {211, "670, B-290, 930, B-260", "MComboBox"},
    {212, "670, B-215, 870, B-185", "MText"},
    {213, "670, B-185, 930, B-145", "MLevelCtrl"},
    {266, "350, B-400, 1390, B-80", "CRoundArea"},
    {268, "7, 154, 244, 156", "CRoundArea"},
    {269, "65, 125, 195, 150", "MText"},
    {284, "20, 700, 240, 730", "MText"},
    {285, "20, 730, 240, 760", "MComboBox"},
    {290, "380, B-390, 480, B-360", "MText"},
    {291, "480, B-390, 550, B-360", "CSwitchButton"},
    {292, "580, B-390, 705, B-360", "MText"},
    {293, "710, B-390, 780, B-360", "CSwitchButton"},
    {289, "380, B-340, 830, B-80", "KeyStrokeCtrl"},
    {295, "845, B-390, 995, B-360", "MText"},
    {297, "970, B-390, 1035, B-360", "CSwitchButton"},
    {298, "987, B-390, 1317, B-360", "MText"},
    {299, "1315, B-390, 1380, B-360", "CSwitchButton"},
    {296, "845, B-358, 1345, B-338", "MText"},
    {300, "845, B-320, 1110, B-210", "CRoundArea"},
    {301, "855, B-318, 975, B-288", "MText"},
    {305, "855, B-283, 1041, B-248", "MSlider"},
    {304, "1040, B-288, 1120, B-258", "MText"},
    {302, "1065, B-313, 1147, B-293", "CImageButton"},
    {303, "855, B-258, 1110, B-218", "MText"},
    {306, "845, B-320, 1110, B-210", "CRoundArea"},
    {307, "855, B-318, 975, B-288", "MText"},
    {311, "855, B-283, 1041, B-248", "MSlider"},
    {310, "1040, B-288, 1120, B-258", "MText"},
    {308, "1065, B-313, 1147, B-293", "CImageButton"},
    {309, "855, B-258, 1095, B-218", "MText"},
    {312, "1125, B-320, 1375, B-210", "CRoundArea"},
    {313, "1130, B-318, 1250, B-288", "MText"},
    {317, "1130, B-283, 1316, B-248", "MSlider"},
    {316, "1315, B-288, 1395, B-258", "MText"},
    {314, "1340, B-313, 1422, B-293", "CImageButton"},
    {315, "1130, B-258, 1370, B-218", "MText"},
    {318, "845, B-195, 1145, B-165", "MText"},
    {320, "1317, B-195, 1387, B-165", "CSwitchButton"},
    {319, "845, B-175, 1385, B-135", "MText"},
    {321, "845, B-140, 1145, B-110", "MText"},
    {323, "1317, B-140, 1387, B-110", "CSwitchButton"},
    {322, "845, B-120, 1385, B-80", "MText"},
    {327, "33, 253, 203, 295", "MButton1"},
    {326, "33, 313, 203, 355", "MButton1"},
    {325, "33, 373, 203, 415", "MButton1"},
    {280, "1000, B-50, 1125, B-27", "MComboBox3"},
    {282, "R-452, B-50, R-387, B-27", "MButton"},
    {283, "R-362, B-50, R-297, B-27", "MButton"},
    {286, "R-272, B-50, R-207, B-27", "MButton"},
    {271, "0, 560, 253, 562", "CRoundArea"},
    {331, "7, 154, 244, 156", "CRoundArea"},
    {332, "65, 125, 195, 150", "MText"},
    {333, "300, 200, 400, 225", "MText"},
    {334, "300, 225, 650, 250", "MText"},
    {335, "700, 200, 800, 225", "MText"},
    {336, "700, 225, 1000, 250", "CTextButton"},
    {337, "700, 250, 1000, 270", "MText"},
    {338, "1100, 200, 1200, 225", "MText"},
    {339, "1100, 225, 1400, 250", "CTextButton"},
    {340, "1100, 250, 1400, 270", "MText"},
    {361, "690, 500, 790, 530", "MText"},
    {357, "690, 500, 836, 530", "CIconButton"},
    {362, "690, 525, 890, 555", "MComboBox"},
    {363, "300, 300, 440, 336", "MText"},
    {364, "305, 336, 665, 366", "CCheckButton"},
    {365, "305, 372, 665, 402", "CCheckButton"},
    {368, "700, 300, 820, 336", "MText"},
    {369, "705, 336, 1065, 366", "CRadioButton"},
    {370, "705, 372, 1065, 402", "CRadioButton"},
    {371, "1100, 400, 1100 + image width, 400 + image height", "MPicture"},
    {372, "300, 530, 1290, 532", "CRoundArea"},
    {374, "300, 470, 480, 500", "MText"},
    {375, "300, 495, 600, 525", "CTextButton"},
};

// Where the window departs from the table above, and why.
struct Departure {
    unsigned id;
    const char* rect;
    const char* reason;
};

const Departure kDepartures[] = {
    {117, "360, B-362, 710, B-270",
     "the advanced-key hint starts below its title (116 ends at B-360) instead of 20 px up "
     "inside the title's box, where the two texts would overlap"},
    {151, "30, T+270, 240, T+780",
     "the mode list ends inside the left column (which ends at 253) instead of reaching to "
     "330, across the column's edge into the key area"},
    {152, "10, T+238, 240, T+264",
     "the mode list's caption sits right above the list; at 450, B-340, 650, B-310 it would lie "
     "over the brightness slider 154 (475, B-333, 670, B-310)"},
};

struct Frame {
    RECT client;
    int imageWidth = 0;
    int imageHeight = 0;
};

int Term(std::string_view name, const Frame& f)
{
    const RECT& c = f.client;
    const std::map<std::string_view, int> values{
        {"L", c.left},
        {"T", c.top},
        {"R", c.right},
        {"B", c.bottom},
        {"x", (c.right - c.left - 300) / 2},
        {"y", (c.bottom - c.top - 158) / 2},
        {"x2", (c.right - c.left - 600) / 2},
        {"image width", f.imageWidth},
        {"image height", f.imageHeight},
    };
    const auto found = values.find(name);
    if (found != values.end()) return found->second;
    ADD_FAILURE() << "unknown term '" << name << "'";
    return 0;
}

// One coordinate: terms joined by + and -.
int Coordinate(std::string_view text, const Frame& f)
{
    int sum = 0;
    int sign = 1;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ') {
            ++i;
        } else if (c == '+' || c == '-') {
            sign = c == '-' ? -1 : 1;
            ++i;
        } else {
            size_t end = i;
            while (end < text.size() && text[end] != '+' && text[end] != '-') ++end;
            std::string_view term = text.substr(i, end - i);
            while (!term.empty() && term.back() == ' ') term.remove_suffix(1);
            const int value = std::isdigit(static_cast<unsigned char>(term[0]))
                                  ? std::stoi(std::string(term))
                                  : Term(term, f);
            sum += sign * value;
            sign = 1;
            i = end;
        }
    }
    return sum;
}

RECT Rectangle(std::string_view text, const Frame& f)
{
    int values[4] = {};
    for (int& value : values) {
        const size_t comma = text.find(',');
        value = Coordinate(text.substr(0, comma), f);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return RECT{values[0], values[1], values[2], values[3]};
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) +
           ", " + std::to_string(r.bottom);
}

const char* PlacedAt(const Row& row)
{
    for (const Departure& d : kDepartures)
        if (d.id == row.id) return d.rect;
    return row.rect;
}

TEST_F(KeyboardDlgLayoutTest, EveryControlLiesAtItsRowForSeveralClientRectangles)
{
    KeyboardDlg& dlg = Build();
    // The creation size, a larger screen, and a client rectangle off the origin.
    for (const RECT& client :
         {RECT{0, 0, 1600, 970}, RECT{0, 0, 1920, 1080}, RECT{10, 20, 1410, 820}, kClient}) {
        dlg.UISize(client);
        for (const Row& row : kRows) {
            SCOPED_TRACE(testing::Message() << "control " << row.id << " in client " << client.right
                                            << "x" << client.bottom);
            MUI::MControl* control = Control(row.id);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->GetClassName(), text::Utf8ToWide(row.className));
            Frame frame{client};
            if (auto* picture = dynamic_cast<MUI::MPicture*>(control)) {
                frame.imageWidth = picture->GetImageWidth();
                frame.imageHeight = picture->GetImageHeight();
            }
            EXPECT_EQ(Text(control->GetRect()), Text(Rectangle(PlacedAt(row), frame)));
        }
    }
}

TEST_F(KeyboardDlgLayoutTest, EachDepartureNamesARowAndAReason)
{
    for (const Departure& d : kDepartures) {
        SCOPED_TRACE(d.id);
        EXPECT_GT(std::string_view(d.reason).size(), 10u);
        bool listed = false;
        for (const Row& row : kRows) listed = listed || row.id == d.id;
        EXPECT_TRUE(listed);
    }
}

TEST_F(KeyboardDlgLayoutTest, ControlsNoRowPlacesKeepTheirEmptyRectangle)
{
    Build();
    for (const unsigned id : {32u, 33u, 34u, 36u, 39u, 56u, 68u, 79u, 85u, 101u, 394u}) {
        SCOPED_TRACE(id);
        if (MUI::MControl* control = Control(id)) {
            EXPECT_EQ(control->GetRect(), RECT{});
        }
    }
}

TEST_F(KeyboardDlgLayoutTest, AtTheCreationSizeTheFrameAndPanelLieWhereExpected)
{
    Build();
    EXPECT_EQ(Control(35)->GetRect(), (RECT{1550, 10, 1582, 40}));
    EXPECT_EQ(Control(37)->GetRect(), (RECT{1500, 10, 1532, 40}));
    EXPECT_EQ(Control(57)->GetRect(), (RECT{0, 120, 1595, 970}));
    EXPECT_EQ(Control(65)->GetRect(), (RECT{650, 406, 928, 564}));
    EXPECT_EQ(Control(69)->GetRect(), (RECT{500, 566, 1100, 626}));
}

TEST_F(KeyboardDlgLayoutTest, NarrowClientPutsThePanelLeftOfTheClientArea)
{
    KeyboardDlg& dlg = Build();
    dlg.UISize(RECT{0, 0, 251, 100});
    // (251 - 300) / 2 and (100 - 158) / 2 truncate toward zero.
    EXPECT_EQ(Control(66)->GetRect(), (RECT{-24, -29, 254, 129}));
    EXPECT_EQ(Control(69)->GetRect(), (RECT{-174, 131, 426, 191}));
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
