// The performance page's controls: construction inside the page's container, their
// rectangles, and their language texts.
#include <string>

#include "app/KeyboardDlg.h"
#include "app/KeyboardDlgBuilder.h"
#include "app/KeyboardDlgLayoutRows.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "keys/SwitchPerformanceTables.h"
#include "platform/mui/CImageButton.h"
#include "platform/mui/CRoundArea.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MButton1.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MImageButton.h"
#include "platform/mui/MPicture.h"
#include "platform/mui/MSlider.h"
#include "platform/mui/MText.h"

namespace {

using namespace PerfPageId;

constexpr MUI::ARGB kHeadingColor = 0xFF404040;
constexpr MUI::ARGB kPanelColor = 0xFFF5F5F5;

// 330, 331 and 332 (listed with this page) are the settings page's heading, built there.
constexpr unsigned kAreas[] = {266, 268, 270, 271, 287, 300, 306, 312};
constexpr unsigned kPictures[] = {267, 273, 276};
constexpr unsigned kTexts[] = {269, 274, 275, 279, 284, 288, 290, 292, 295, 296, 298, 301,
                               303, 304, 307, 309, 310, 313, 315, 316, 318, 319, 321, 322};

// Captions and tooltips (0: none).
constexpr struct {
    unsigned id;
    int caption;
    int tooltip;
} kPageTexts[] = {
    {269, 52, 0},  {328, 1402, 0},  {329, 1403, 0}, {326, 1401, 0}, {325, 1400, 0}, {275, 499, 0},
    {274, 100, 0}, {279, 102, 102}, {278, 0, 38},   {327, 500, 0},  {283, 97, 106}, {282, 96, 107},
    {284, 501, 0}, {288, 508, 0},   {290, 509, 0},  {292, 510, 0},  {294, 511, 0},  {295, 512, 0},
    {296, 513, 0}, {298, 514, 0},   {301, 515, 0},  {302, 0, 516},  {303, 518, 0},  {307, 517, 0},
    {308, 0, 516}, {309, 519, 0},   {313, 520, 0},  {314, 0, 516},  {315, 521, 0},  {318, 522, 0},
    {319, 523, 0}, {321, 524, 0},   {322, 525, 0},  {289, 526, 0},  {280, 0, 102},
};
constexpr int kPresetTexts[] = {261, 262, 263};

// Switch types offered per model: (text, item data).
struct SwitchTypeItem {
    int text;
    int type;
};
std::vector<SwitchTypeItem> SwitchTypesOf(int modelId)
{
    switch (modelId) {
        case 101:
            return {{2101, 0}, {503, 1}, {2100, 2}};
        case 102:
            return {{504, 0}};
        case 103:
            return {{2100, 0}};
        case 104:
        case 106:
            return {{2101, 0}};
        case 105:
        case 107:
            return {{2103, 0}, {2101, 1}, {502, 2}, {503, 3}, {2102, 4}, {2100, 5}};
        default:
            return {};
    }
}

constexpr LayoutRow kPerfPageRows[] = {
    {266, Px(350), FromB(-400), Px(1390), FromB(-80)},
    {268, Px(7), Px(154), Px(244), Px(156)},
    {269, Px(65), Px(125), Px(195), Px(150)},
    {284, Px(20), Px(700), Px(240), Px(730)},
    {285, Px(20), Px(730), Px(240), Px(760)},
    {290, Px(380), FromB(-390), Px(480), FromB(-360)},
    {291, Px(480), FromB(-390), Px(550), FromB(-360)},
    {292, Px(580), FromB(-390), Px(705), FromB(-360)},
    {293, Px(710), FromB(-390), Px(780), FromB(-360)},
    {289, Px(380), FromB(-340), Px(830), FromB(-80)},
    {295, Px(845), FromB(-390), Px(995), FromB(-360)},
    {297, Px(970), FromB(-390), Px(1035), FromB(-360)},
    {298, Px(987), FromB(-390), Px(1317), FromB(-360)},
    {299, Px(1315), FromB(-390), Px(1380), FromB(-360)},
    {296, Px(845), FromB(-358), Px(1345), FromB(-338)},
    {300, Px(845), FromB(-320), Px(1110), FromB(-210)},
    {301, Px(855), FromB(-318), Px(975), FromB(-288)},
    {305, Px(855), FromB(-283), Px(1041), FromB(-248)},
    {304, Px(1040), FromB(-288), Px(1120), FromB(-258)},
    {302, Px(1065), FromB(-313), Px(1147), FromB(-293)},
    {303, Px(855), FromB(-258), Px(1110), FromB(-218)},
    {306, Px(845), FromB(-320), Px(1110), FromB(-210)},
    {307, Px(855), FromB(-318), Px(975), FromB(-288)},
    {311, Px(855), FromB(-283), Px(1041), FromB(-248)},
    {310, Px(1040), FromB(-288), Px(1120), FromB(-258)},
    {308, Px(1065), FromB(-313), Px(1147), FromB(-293)},
    {309, Px(855), FromB(-258), Px(1095), FromB(-218)},
    {312, Px(1125), FromB(-320), Px(1375), FromB(-210)},
    {313, Px(1130), FromB(-318), Px(1250), FromB(-288)},
    {317, Px(1130), FromB(-283), Px(1316), FromB(-248)},
    {316, Px(1315), FromB(-288), Px(1395), FromB(-258)},
    {314, Px(1340), FromB(-313), Px(1422), FromB(-293)},
    {315, Px(1130), FromB(-258), Px(1370), FromB(-218)},
    {318, Px(845), FromB(-195), Px(1145), FromB(-165)},
    {320, Px(1317), FromB(-195), Px(1387), FromB(-165)},
    {319, Px(845), FromB(-175), Px(1385), FromB(-135)},
    {321, Px(845), FromB(-140), Px(1145), FromB(-110)},
    {323, Px(1317), FromB(-140), Px(1387), FromB(-110)},
    {322, Px(845), FromB(-120), Px(1385), FromB(-80)},
    {327, Px(33), Px(253), Px(203), Px(295)},
    {326, Px(33), Px(313), Px(203), Px(355)},
    {325, Px(33), Px(373), Px(203), Px(415)},
    // The profile chooser, its menu and the preset label share the bottom row as on the key
    // page; the design gives their rectangles on no page.
    {274, Px(390), FromB(-50), Px(470), FromB(-27)},
    {kProfileCombo, Px(470), FromB(-50), Px(670), FromB(-27)},
    {kProfileMenu, Px(676), FromB(-50), Px(699), FromB(-27)},
    {279, Px(900), FromB(-50), Px(995), FromB(-27)},
    {280, Px(1000), FromB(-50), Px(1125), FromB(-27)},
    {282, FromR(-452), FromB(-50), FromR(-387), FromB(-27)},
    {283, FromR(-362), FromB(-50), FromR(-297), FromB(-27)},
    {286, FromR(-272), FromB(-50), FromR(-207), FromB(-27)},
    {271, Px(0), Px(560), Px(253), Px(562)},
};

MUI::CSwitchButton* Switch(const ControlBuilder& build, unsigned id)
{
    auto* button = build.Control<MUI::CSwitchButton>(L"CSwitchButton", id);
    button->SetSwitchImages(L"img_switch_on.png", L"img_switch_off.png", 4);
    return button;
}

MUI::MSlider* Slider(const ControlBuilder& build, unsigned id, const MUI::PRECISION& precision)
{
    auto* slider = build.Control<MUI::MSlider>(L"MSlider", id);
    slider->SetRange(precision.Minimum(), precision.Maximum());
    slider->SetPos(precision.Minimum());
    slider->SetPrecision(precision);
    return slider;
}

}  // namespace

void KeyboardDlg::BuildPerfPage()
{
    const ControlBuilder build(*this, ui.performancePage);
    PerfPageControls& perfUi = perfPage;
    for (const unsigned id : kAreas) {
        auto* area = build.Area<MUI::CRoundArea>(L"CRoundArea", id);
        area->SetColor(id == 268 || id == 271 ? kHeadingColor : kPanelColor);
    }
    for (const unsigned id : kPictures) build.Area<MUI::MPicture>(L"MPicture", id);
    for (const unsigned id : kTexts) {
        auto* text = build.Area<MUI::MText>(L"MText", id);
        text->SetTextColor(MainColor::kText);
    }
    // The separate-distances label shares its row with the rapid-trigger switch on its left:
    // it ends at its own switch.
    if (auto* separate = GetControlAs<MUI::MText>(298)) separate->SetAlignment(MUI::kAlignRight);
    perfUi.combinedLabel = GetControlAs<MUI::MText>(kCombinedLabel);
    perfUi.pressLabel = GetControlAs<MUI::MText>(kPressLabel);
    perfUi.releaseLabel = GetControlAs<MUI::MText>(kReleaseLabel);
    if (auto* heading = GetControlAs<MUI::MText>(269)) {
        heading->SetTextColor(kHeadingColor);
        heading->SetFont(L"AlibabaPuHuiTi-Medium", 25, MUI::kFontRegular);
    }

    perfUi.keyboard = build.Control<MUI::KeyboardCtrl>(L"KeyboardCtrl", kKeyboard);
    perfUi.keyboard->SetSelectMode(MUI::KeyboardCtrl::kSelectMultiple);
    perfUi.keyboard->SetPrecision(page.precision);
    perfUi.profileCombo = build.Control<MUI::MComboBox>(L"MComboBox", kProfileCombo);
    perfUi.profileCombo->SetImage(L"img_combobox.png", 4);
    perfUi.profileCombo->SetTextColor(MainColor::kList);
    build.Control<MUI::MImageButton>(L"MImageButton", kProfileMenu)
        ->SetImage(L"icon_btn_moreprofile.png");
    perfUi.presetCombo = build.Control<MUI::MComboBox3>(L"MComboBox3", kPresetCombo);
    perfUi.presetCombo->SetTextColor(MainColor::kList);
    for (int i = 0; i < 3; ++i) {
        perfUi.presetCombo->AddItem(GetLanString(kPresetTexts[i]), PERF_PRESET_GAMING + i);
    }
    build.Control<MUI::MButton>(L"MButton", kImportProfile)->SetImage(L"icon_btn_import.png");
    build.Control<MUI::MButton>(L"MButton", kExportProfile)->SetImage(L"icon_btn_export.png");
    perfUi.switchTypeCombo = build.Control<MUI::MComboBox>(L"MComboBox", kSwitchTypeCombo);
    perfUi.switchTypeCombo->SetImage(L"img_combobox.png", 4);
    perfUi.switchTypeCombo->SetTextColor(MainColor::kList);
    build.Control<MUI::MButton>(L"MButton", kCalibration);

    perfUi.stroke = build.Control<MUI::KeyStrokeCtrl>(L"KeyStrokeCtrl", kStroke);
    perfUi.stroke->SetImage(L"img_perf_keystroke_bkg.png");
    perfUi.stroke->SetPrecision(page.precision);
    perfUi.stroke->SetSwitchType(0, SwitchTravel(0));
    perfUi.debugSwitch = Switch(build, kDebugSwitch);
    perfUi.deadZoneSwitch = Switch(build, kDeadZoneSwitch);
    build.Control<MUI::MButton>(L"MButton", kResetActuation);
    perfUi.rapidTriggerSwitch = Switch(build, kRapidTriggerSwitch);
    perfUi.separateSwitch = Switch(build, kSeparateSwitch);
    perfUi.continuousSwitch = Switch(build, kContinuousSwitch);
    perfUi.bottomSwitch = Switch(build, kBottomSwitch);
    for (const unsigned id : {kResetCombined, kResetPress, kResetRelease}) {
        build.Control<MUI::CImageButton>(L"CImageButton", id)->SetImage(L"icon_btn_reset.png");
    }
    perfUi.combinedSlider = Slider(build, kCombinedSlider, page.precision);
    perfUi.pressSlider = Slider(build, kPressSlider, page.precision);
    perfUi.releaseSlider = Slider(build, kReleaseSlider, page.precision);
    for (const unsigned id : {kSelectNone, kInvertSelection, kSelectAll}) {
        build.Control<MUI::MButton1>(L"MButton1", id);
    }
    build.Control<MUI::MButton>(L"MButton", kResetSwitchType);
    build.Control<MUI::MButton>(L"MButton", kResetRapidTrigger);

    // Until a profile is loaded: rapid trigger off, its groups hidden.
    for (const unsigned id : kRapidTriggerGroup) SetControlVisible(id, false);
    for (const unsigned id : kCombinedGroup) SetControlVisible(id, false);
    for (const unsigned id : kSeparateGroup) SetControlVisible(id, false);
    ApplyPerfPageTexts();
}

void KeyboardDlg::LayoutPerfPage(const RECT& client)
{
    PlaceControls(*this, client, kPerfPageRows);
}

void KeyboardDlg::ApplyPerfPageTexts()
{
    for (const auto& text : kPageTexts) {
        MUI::MControl* control = GetControl(text.id);
        if (control == nullptr) continue;
        if (text.caption != 0) control->SetTitle(GetLanString(text.caption));
        if (text.tooltip != 0) control->SetTooltip(GetLanString(text.tooltip));
    }
    if (perfPage.presetCombo != nullptr) {
        for (int i = 0; i < 3; ++i)
            perfPage.presetCombo->SetItemText(i, GetLanString(kPresetTexts[i]));
    }
    FillSwitchTypeCombo(ReadDeviceType());
    if (auto* calibration = GetControl(kCalibration)) {
        calibration->SetTitle(GetLanString(498));
        calibration->SetTooltip(GetLanString(506) + L",\n" + GetLanString(507));
    }
}

void KeyboardDlg::FillSwitchTypeCombo(int modelId)
{
    MUI::MComboBox* switchTypes = perfPage.switchTypeCombo;
    if (switchTypes == nullptr) return;
    switchTypes->DelAllItems();
    for (const SwitchTypeItem& item : SwitchTypesOf(modelId)) {
        switchTypes->AddItem(GetLanString(item.text), item.type);
    }
    if (switchTypes->GetItemCount() > 0) switchTypes->SetCurSel(0);
}

void KeyboardDlg::SetControlVisible(unsigned id, bool visible)
{
    if (MUI::MControl* control = GetControl(id)) control->SetVisible(visible);
}
