// The lighting page's controls: construction inside the page's container, their rectangles,
// and their language texts.
#include <iterator>
#include <string>
#include <vector>

#include "app/KeyboardDlg.h"
#include "app/KeyboardDlgBuilder.h"
#include "app/KeyboardDlgLayoutRows.h"
#include "app/Language.h"
#include "lighting/LightModes.h"
#include "lighting/LightPresetFile.h"
#include "platform/mui/CCheckButton.h"
#include "platform/mui/CColorButton.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CRoundArea.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/CirclePalette.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MEdit.h"
#include "platform/mui/MImageButton.h"
#include "platform/mui/MLevelCtrl.h"
#include "platform/mui/MListBoxEx.h"
#include "platform/mui/MPicture.h"
#include "platform/mui/MSlider.h"
#include "platform/mui/MText.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using namespace LightPageId;

constexpr MUI::ARGB kHeadingColor = 0xFF404040;
constexpr MUI::ARGB kPanelColor = 0xFFF5F5F5;
constexpr int kLabelSize = 15;
// The mode list's rows share this height.
constexpr int kModeListHeight = 500;

constexpr unsigned kTexts[] = {kProfileLabel,
                               kPresetLabel,
                               kSwitchLabel,
                               kModeLabel,
                               kBrightnessLabel,
                               kSpeedLabel,
                               kDirectionLabel,
                               kColorfulLabel,
                               kColorCaption,
                               206,
                               208,
                               210,
                               212};

// Captions and tooltips (0: none).
constexpr struct {
    unsigned id;
    int caption;
    int tooltip;
} kPageTexts[] = {
    {kHeading, 55, 0},
    {kSelectAll, 500, 0},
    {kColorCaption, 1399, 0},
    {kInvertSelection, 1401, 0},
    {kSelectNone, 1400, 0},
    {kProfileLabel, 100, 0},
    {kProfileMenu, 0, 38},
    {kPresetLabel, 102, 0},
    {kPresetCombo, 0, 662},
    {kReset, 98, 105},
    {kExportProfile, 97, 106},
    {kImportProfile, 96, 107},
    {kSwitchLabel, 600, 0},
    {kModeLabel, 601, 0},
    {kColorfulLabel, 602, 0},
    {kBrightnessLabel, 603, 0},
    {kSpeedLabel, 604, 0},
    {kDirectionLabel, 605, 0},
    {202, 0, 1700},
    {203, 0, 1701},
    {204, 0, 1702},
    {205, 0, 1703},
    {206, 622, 0},
    {208, 623, 0},
    {210, 624, 0},
    {212, 625, 0},
};
constexpr int kPresetTexts[kLightPresetCount] = {242, 243, 244, 245, 246, 247};

// The 25 preset colours of buttons 174..198 (red, green, blue).
constexpr int kPresetColors[25][3] = {
    {255, 192, 12}, {255, 128, 12},  {255, 5, 5},     {255, 8, 117},  {255, 5, 215},
    {255, 251, 18}, {255, 163, 85},  {255, 110, 113}, {251, 85, 255}, {255, 5, 254},
    {137, 255, 0},  {184, 255, 140}, {255, 255, 255}, {178, 95, 255}, {122, 7, 255},
    {42, 255, 10},  {78, 255, 92},   {115, 250, 254}, {77, 95, 255},  {25, 6, 255},
    {4, 255, 23},   {7, 253, 125},   {5, 255, 253},   {9, 145, 255},  {4, 55, 255},
};

constexpr const wchar_t* kDirectionImages[4][2] = {
    {L"img_direction_right.png", L"img_direction_left.png"},
    {L"img_direction_top.png", L"img_direction_bottom.png"},
    {L"within.png", L"outside.png"},
    {L"clockwise.png", L"anticlockwise.png"},
};

// The music panel's pattern names by pattern code (0 = none).
constexpr int kPatternTexts[] = {637, 626, 627, 628, 629, 630, 631, 632, 633, 634, 635, 638};
constexpr int kForegroundPatterns[] = {6, 7, 8, 9, 11, 10, 1, 2, 3, 4, 5};
constexpr int kBackgroundPatterns[] = {0, 6, 7, 8, 9, 11, 10, 1, 2, 3, 4, 5};

constexpr LayoutRow kLightPageRows[] = {
    {kHeadingLine, Px(7), Px(154), Px(244), Px(156)},
    {kHeading, Px(65), Px(125), Px(195), Px(150)},
    // The left column: the switch, the mode list, a line, the selection buttons.
    {kSwitchLabel, Px(10), FromT(200), Px(240), FromT(230)},
    {kEnableSwitch, Px(170), FromT(200), Px(240), FromT(230)},
    // The list's caption sits right above the list; the list ends at the column's edge, not
    // inside the key view's area.
    {kModeLabel, Px(10), FromT(238), Px(240), FromT(264)},
    {kModeList, Px(30), FromT(270), Px(240), FromT(780)},
    {kSwitchLine, Px(0), FromB(-200), FromL(255), FromB(-198)},
    {kSelectAll, Px(50), FromB(-180), Px(190), FromB(-150)},
    {kInvertSelection, Px(50), FromB(-140), Px(190), FromB(-110)},
    {kSelectNone, Px(50), FromB(-100), Px(190), FromB(-70)},
    // The value panel below the keys.
    {kPanel, Px(350), FromB(-400), Px(1390), FromB(-80)},
    {kColorCaption, Px(370), Px(590), Px(470), Px(620)},
    {kColorful, Px(870), Px(590), Px(900), Px(620)},
    {kColorfulLabel, Px(900), Px(590), Px(1000), Px(620)},
    {kBrightnessLabel, Px(370), FromB(-340), Px(470), FromB(-310)},
    {kBrightness, Px(475), FromB(-333), Px(670), FromB(-310)},
    {kSpeedLabel, Px(370), FromB(-300), Px(470), FromB(-264)},
    {kSpeed, Px(475), FromB(-293), Px(670), FromB(-273)},
    {kDirectionLabel, Px(370), FromB(-260), Px(470), FromB(-230)},
    {158, Px(475), FromB(-255), Px(528), FromB(-223)},
    {160, Px(475), FromB(-255), Px(528), FromB(-223)},
    {202, Px(475), FromB(-255), Px(528), FromB(-223)},
    {204, Px(475), FromB(-255), Px(528), FromB(-223)},
    {159, Px(555), FromB(-255), Px(608), FromB(-223)},
    {161, Px(555), FromB(-255), Px(608), FromB(-223)},
    {203, Px(555), FromB(-255), Px(608), FromB(-223)},
    {205, Px(555), FromB(-255), Px(608), FromB(-223)},
    {kPalette, Px(920), FromB(-300), Px(1080), FromB(-140)},
    {kRedEdit, Px(902), FromB(-128), Px(967), FromB(-104)},
    {kGreenEdit, Px(972), FromB(-128), Px(1037), FromB(-104)},
    {kBlueEdit, Px(1042), FromB(-128), Px(1107), FromB(-104)},
    // Each channel's letter under its edit.
    {kRedLabel, Px(902), FromB(-102), Px(967), FromB(-84)},
    {kRedLabel + 1, Px(972), FromB(-102), Px(1037), FromB(-84)},
    {kRedLabel + 2, Px(1042), FromB(-102), Px(1107), FromB(-84)},
    // The bottom row, as on the other pages.
    {kProfileLabel, Px(390), FromB(-50), Px(470), FromB(-27)},
    {kProfileCombo, Px(470), FromB(-50), Px(670), FromB(-27)},
    {kProfileMenu, Px(676), FromB(-50), Px(699), FromB(-27)},
    {kPresetLabel, Px(900), FromB(-50), Px(995), FromB(-27)},
    {kPresetCombo, Px(1000), FromB(-50), Px(1125), FromB(-27)},
    {kReset, FromR(-452), FromB(-50), FromR(-387), FromB(-27)},
    {kExportProfile, FromR(-362), FromB(-50), FromR(-297), FromB(-27)},
    {kImportProfile, FromR(-272), FromB(-50), FromR(-207), FromB(-27)},
};

// The music panel, shown in the music mode only.
constexpr LayoutRow kMusicRows[] = {
    {206, Px(370), FromB(-320), Px(530), FromB(-290)},
    {207, Px(370), FromB(-290), Px(630), FromB(-260)},
    {208, Px(370), FromB(-215), Px(570), FromB(-185)},
    {209, Px(370), FromB(-185), Px(630), FromB(-145)},
    {210, Px(670), FromB(-320), Px(870), FromB(-290)},
    {211, Px(670), FromB(-290), Px(930), FromB(-260)},
    {212, Px(670), FromB(-215), Px(870), FromB(-185)},
    {213, Px(670), FromB(-185), Px(930), FromB(-145)},
};

// The colour buttons: five rows of five at the panel's right.
RECT ColorButtonRect(int index, const RECT& client)
{
    const int left = client.right - 450 + (index % 5) * 40;
    const int top = client.bottom - 330 + (index / 5) * 40;
    return {left, top, left + 30, top + 30};
}

MUI::MComboBox* PatternCombo(const ControlBuilder& build, unsigned id, const int* patterns,
                             size_t count)
{
    auto* combo = build.Control<MUI::MComboBox>(L"MComboBox", id);
    combo->SetImage(L"img_combobox.png", 4);
    combo->SetTextColor(MainColor::kList);
    for (size_t i = 0; i < count; ++i) {
        combo->AddItem(GetLanString(kPatternTexts[patterns[i]]), patterns[i]);
    }
    combo->SetCurSel(0);
    return combo;
}

MUI::MLevelCtrl* Levels(const ControlBuilder& build, unsigned id, int top, int level)
{
    auto* levels = build.Control<MUI::MLevelCtrl>(L"MLevelCtrl", id);
    levels->SetRange(0, top);
    levels->SetLevel(level);
    return levels;
}

}  // namespace

void KeyboardDlg::BuildLightPage()
{
    const ControlBuilder build(*this, ui.lightingPage);
    LightPageControls& light = lightPage;
    build.Area<MUI::MPicture>(L"MPicture", kBackground)->SetImage(L"icon\\light_bg_key.png");
    build.Area<MUI::MPicture>(L"MPicture", kKeyboardBack)
        ->SetImage(L"keyboard\\keyboardctrl_bg1.png");
    build.Area<MUI::CRoundArea>(L"CRoundArea", kHeadingLine)->SetColor(kHeadingColor);
    build.Area<MUI::CRoundArea>(L"CRoundArea", kSwitchLine)->SetColor(kHeadingColor);
    build.Area<MUI::CRoundArea>(L"CRoundArea", kPanel)->SetColor(kPanelColor);
    auto* heading = build.Area<MUI::MText>(L"MText", kHeading);
    heading->SetTextColor(kHeadingColor);
    heading->SetFont(L"AlibabaPuHuiTi-Medium", 25, MUI::kFontRegular);
    heading->SetAlignment(MUI::kAlignCenter);
    for (const unsigned id : kTexts) {
        auto* text = build.Area<MUI::MText>(L"MText", id);
        text->SetTextColor(MainColor::kText);
        text->SetTextSize(kLabelSize);
    }
    for (unsigned i = 0; i < 3; ++i) {
        const wchar_t* icons[] = {L"icon_color_r.png", L"icon_color_g.png", L"icon_color_b.png"};
        auto* label = build.Area<MUI::MText>(L"MText", kRedLabel + i);
        label->SetImage(icons[i]);
        // The channel's letter, drawn where the picture is not.
        label->SetTitle(std::wstring(1, L"RGB"[i]));
        label->SetTextColor(MainColor::kSecondary);
        label->SetTextSize(kLabelSize);
        label->SetAlignment(MUI::kAlignCenter);
        label->SetVAlignment(MUI::kVAlignCenter);
    }

    light.keyboard = build.Control<MUI::KeyboardCtrl>(L"KeyboardCtrl", kKeyboard);
    light.keyboard->SetKeyImages(L"img_key_normal.png", L"img_key_hover.png",
                                 L"icon\\img_key3.png");
    light.keyboard->SetSelectMode(MUI::KeyboardCtrl::kSelectMultiple);

    light.profileCombo = build.Control<MUI::MComboBox>(L"MComboBox", kProfileCombo);
    light.profileCombo->SetImage(L"img_combobox.png", 4);
    light.profileCombo->SetTextColor(MainColor::kList);
    build.Control<MUI::MImageButton>(L"MImageButton", kProfileMenu)
        ->SetImage(L"icon_btn_moreprofile.png");
    light.presetCombo = build.Control<MUI::MComboBox3>(L"MComboBox3", kPresetCombo);
    light.presetCombo->SetImage(L"icon_btn_defaultprofile.png");
    light.presetCombo->SetTextColor(MainColor::kList);
    for (int i = 0; i < kLightPresetCount; ++i) {
        light.presetCombo->AddItem(GetLanString(kPresetTexts[i]), kFirstLightPreset + i);
    }
    build.Control<MUI::MButton>(L"MButton", kReset)->SetImage(L"icon_btn_reset.png");
    build.Control<MUI::MButton>(L"MButton", kImportProfile)->SetImage(L"icon_btn_import.png");
    build.Control<MUI::MButton>(L"MButton", kExportProfile)->SetImage(L"icon_btn_export.png");
    for (const unsigned id : {kSelectNone, kInvertSelection, kSelectAll}) {
        auto* button = build.Control<MUI::MButton>(L"MButton", id);
        button->SetEnabled(false);
    }

    light.enableSwitch = build.Control<MUI::CSwitchButton>(L"CSwitchButton", kEnableSwitch);
    light.enableSwitch->SetSwitchImages(L"img_switch_on.png", L"img_switch_off.png", 4);
    light.enableSwitch->SetCheck(true);
    light.modeList = build.Control<MUI::MListBoxEx>(L"MListBoxEx", kModeList);
    light.modeList->SetTextColor(MainColor::kList);
    light.modeList->SetTextSize(kLabelSize);
    light.modeList->EnableContextMenu(false);

    light.colorful = build.Control<MUI::CCheckButton>(L"CCheckButton", kColorful);
    light.colorful->SetImage(L"btn_checkbox.png", 8);
    light.palette = build.Control<MUI::CirclePalette>(L"CirclePalette", kPalette);
    light.palette->SetImage(L"img_palette.png");
    for (unsigned i = 0; i < 3; ++i) {
        auto* edit = build.Control<MUI::MEdit>(L"MEdit", kRedEdit + i);
        edit->SetNumberOnly(true);
        edit->SetMaxLength(3);
        edit->SetTextColor(MainColor::kList);
        edit->SetTextSize(kLabelSize);
        light.rgbEdits[i] = edit;
    }
    for (unsigned i = 0; i <= kLastColorButton - kFirstColorButton; ++i) {
        auto* button = build.Control<MUI::CColorButton>(L"CColorButton", kFirstColorButton + i);
        button->SetGroup(L"IDC_LIGHT_STC_DEFAULTCOLOR");
        const int* rgb = kPresetColors[i];
        button->SetColor(MUI::MakeColorRef(rgb[0], rgb[1], rgb[2]));
    }
    light.brightness = build.Control<MUI::MSlider>(L"MSlider", kBrightness);
    light.brightness->SetRange(0, 100);
    light.brightness->SetPos(50);
    light.brightness->SetImage(L"slider.png");
    light.speed = Levels(build, kSpeed, 4, 0);
    for (int pair = 0; pair < 4; ++pair) {
        for (int side = 0; side < 2; ++side) {
            auto* button =
                build.Control<MUI::CRadioButton>(L"CRadioButton", kDirectionPairs[pair][side]);
            button->SetGroup(L"GROUP_LIGHT_DIRECTION");
            button->SetImage(kDirectionImages[pair][side], 8);
        }
    }

    // The music controls, hidden until a music mode is chosen.
    PatternCombo(build, 207, kForegroundPatterns, std::size(kForegroundPatterns));
    Levels(build, 209, 5, 3);
    PatternCombo(build, 211, kBackgroundPatterns, std::size(kBackgroundPatterns));
    Levels(build, 213, 5, 5);
    for (unsigned id = kMusicFirst; id <= kMusicLast; ++id) SetControlVisible(id, false);

    ApplyLightPageTexts();
}

void KeyboardDlg::LayoutLightPage(const RECT& client)
{
    if (lightPage.modeList != nullptr) lightPage.modeList->SetAllItemHeight(kModeListHeight);
    PlaceControls(*this, client, kLightPageRows);
    for (unsigned i = 0; i <= kLastColorButton - kFirstColorButton; ++i) {
        if (MUI::MControl* button = GetControl(kFirstColorButton + i)) {
            button->SetRect(ColorButtonRect(static_cast<int>(i), client));
        }
    }
}

void KeyboardDlg::LayoutMusicControls(const RECT& client)
{
    PlaceControls(*this, client, kMusicRows);
}

void KeyboardDlg::ApplyLightPageTexts()
{
    for (const auto& text : kPageTexts) {
        MUI::MControl* control = GetControl(text.id);
        if (control == nullptr) continue;
        if (text.caption != 0) control->SetTitle(GetLanString(text.caption));
        if (text.tooltip != 0) control->SetTooltip(GetLanString(text.tooltip));
    }
    if (lightPage.presetCombo != nullptr) {
        for (int i = 0; i < kLightPresetCount; ++i)
            lightPage.presetCombo->SetItemText(i, GetLanString(kPresetTexts[i]));
    }
    // The mode captions by their rows' names, the pattern names by their item data.
    if (MUI::MListBoxEx* list = lightPage.modeList) {
        KBDataBase& db = KBDataBase::GetInstance();
        std::vector<LightRecord*> stored;
        db.GetLights(LightingPageProfile(), stored);
        for (const LightRecord& row : TakeRecords(stored)) {
            for (int i = 0; i < list->GetItemCount(); ++i) {
                if (list->GetItemData(i) == row.mode)
                    list->SetItemText(i, GetLanString(ModeCaptionText(row.name)));
            }
        }
    }
    for (const unsigned id : {207u, 211u}) {
        auto* combo = GetControlAs<MUI::MComboBox>(id);
        for (int i = 0; combo != nullptr && i < combo->GetItemCount(); ++i) {
            const int pattern = combo->GetItemData(i);
            if (pattern >= 0 && pattern < static_cast<int>(std::size(kPatternTexts)))
                combo->SetItemText(i, GetLanString(kPatternTexts[pattern]));
        }
    }
}
