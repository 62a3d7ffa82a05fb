// The advanced-key page's controls: construction inside the page's container, their
// rectangles, their language texts, and the routing of their notifications.
#include <string>

#include "app/KeyboardDlg.h"
#include "app/KeyboardDlgBuilder.h"
#include "app/KeyboardDlgLayoutRows.h"
#include "app/Language.h"
#include "keys/CustomKeyDKSDlg.h"
#include "platform/mui/CKeyTestCtrl.h"
#include "platform/mui/CRoundArea.h"
#include "platform/mui/KeyDKSCtrlEx.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MButton1.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MImageButton.h"
#include "platform/mui/MPicture.h"
#include "platform/mui/MText.h"

namespace {

using namespace AdvKeyPageId;

constexpr MUI::ARGB kHeadingColor = 0xFF404040;
constexpr MUI::ARGB kPanelColor = 0xFFF5F5F5;
constexpr int kFirstTypeText = 1030;

constexpr struct {
    unsigned id;
    int caption;
    int tooltip;
} kTexts[] = {{kHeading, 53, 0},         {kResetKey, 95, 99},    {kProfileLabel, 100, 0},
              {kProfileMenu, 0, 38},     {kResetLayer, 98, 105}, {kExportProfile, 97, 106},
              {kImportProfile, 96, 107}, {kTitle, 130, 0},       {kHint, 131, 0},
              {kKeyTestLabel, 132, 0},   {kListLabel, 133, 0}};

constexpr int kLayerTexts[] = {108, 109};

constexpr LayoutRow kRows[] = {
    {kPanel, Px(350), FromB(-400), Px(1390), FromB(-80)},
    {kHeadingLine, Px(7), Px(154), Px(244), Px(156)},
    {kHeading, Px(65), Px(125), Px(195), Px(150)},
    {kResetKey, FromR(-542), FromB(-50), FromR(-477), FromB(-27)},
    {kResetLayer, FromR(-452), FromB(-50), FromR(-387), FromB(-27)},
    {kExportProfile, FromR(-362), FromB(-50), FromR(-297), FromB(-27)},
    {kImportProfile, FromR(-272), FromB(-50), FromR(-207), FromB(-27)},
    {kLayers, Px(1154), Px(120), Px(1514), Px(140)},
    {kTitle, Px(360), FromB(-390), Px(560), FromB(-360)},
    // The hint starts below its title rather than under the title's last line.
    {kHint, Px(360), FromB(-362), Px(710), FromB(-270)},
    {kKeyTestLabel, Px(360), FromB(-280), Px(560), FromB(-250)},
    {kKeyTest, Px(360), FromB(-250), Px(710), FromB(-85)},
    {kListLabel, Px(740), FromB(-390), Px(860), FromB(-360)},
    {kListCount, Px(860), FromB(-390), Px(950), FromB(-360)},
    {kList, Px(740), FromB(-360), FromR(-400), FromB(-90)},
    {123, Px(33), Px(270), Px(203), Px(305)},
    {124, Px(33), Px(310), Px(203), Px(345)},
    {125, Px(33), Px(350), Px(203), Px(385)},
    {126, Px(33), Px(390), Px(203), Px(425)},
    {127, Px(33), Px(430), Px(203), Px(465)},
    {128, Px(33), Px(470), Px(203), Px(505)},
    // The profile chooser sits on the bottom row as on the key page.
    {kProfileLabel, Px(390), FromB(-50), Px(470), FromB(-27)},
    {kProfileCombo, Px(470), FromB(-50), Px(670), FromB(-27)},
    {kProfileMenu, Px(676), FromB(-50), Px(699), FromB(-27)},
};

MUI::MButton* PageButton(const ControlBuilder& build, unsigned id, const wchar_t* icon)
{
    auto* button = build.Control<MUI::MButton>(L"MButton", id);
    button->SetImage(icon);
    return button;
}

}  // namespace

void AdvKeyEditorDeleter::operator()(CustomKeyDKSDlg* editor) const
{
    if (editor == nullptr) return;
    editor->DestroyWindow();
    delete editor;
}

void KeyboardDlg::BuildAdvKeyPage()
{
    const ControlBuilder build(*this, ui.advancedKeysPage);
    AdvKeyPageControls& page = advKeyPage;
    build.Area<MUI::CRoundArea>(L"CRoundArea", kPanel)->SetColor(kPanelColor);
    auto* line = build.Area<MUI::CRoundArea>(L"CRoundArea", kHeadingLine);
    line->SetColor(kHeadingColor);
    line->SetRoundRadius(0);
    auto* heading = build.Area<MUI::MText>(L"MText", kHeading);
    heading->SetTextColor(kHeadingColor);
    heading->SetFont(L"AlibabaPuHuiTi-Medium", 25, MUI::kFontRegular);

    // The model's picture lies under the keys: it is made first.
    build.Area<MUI::MPicture>(L"MPicture", kKeyboardBackground);
    page.keyboard = build.Control<MUI::KeyboardCtrl>(L"KeyboardCtrl", kKeyboard);
    page.keyboard->SetSelectMode(MUI::KeyboardCtrl::kSelectSingle);
    page.keyboard->SetAdvancedType(-1);
    page.keyboard->SetPickFlag(1);

    build.Area<MUI::MText>(L"MText", kProfileLabel)->SetTextColor(MainColor::kText);
    page.profileCombo = build.Control<MUI::MComboBox>(L"MComboBox", kProfileCombo);
    page.profileCombo->SetImage(L"img_combobox.png", 4);
    page.profileCombo->SetTextColor(MainColor::kList);
    build.Control<MUI::MImageButton>(L"MImageButton", kProfileMenu)
        ->SetImage(L"icon_btn_moreprofile.png");
    PageButton(build, kResetKey, L"icon_btn_resetkey.png");
    PageButton(build, kResetLayer, L"icon_btn_reset.png");
    PageButton(build, kImportProfile, L"icon_btn_import.png");
    PageButton(build, kExportProfile, L"icon_btn_export.png");
    page.layers = build.Control<MUI::KeyLayerCtrl>(L"KeyLayerCtrl", kLayers);
    page.layers->SetImage(L"fn_identification.png");
    page.layers->SetTextColor(MainColor::kText);

    for (unsigned id : {kTitle, kKeyTestLabel, kListLabel}) {
        auto* text = build.Area<MUI::MText>(L"MText", id);
        text->SetTextColor(kHeadingColor);
        text->SetFont(L"SourceHanSansCN-Bold", 16, MUI::kFontBold);
    }
    auto* hint = build.Area<MUI::MText>(L"MText", kHint);
    hint->SetTextColor(MainColor::kSecondary);
    hint->SetMultiLine(true);
    hint->SetVAlignment(MUI::kVAlignTop);
    hint->SetTextSize(14);
    page.keyTest = build.Area<MUI::CKeyTestCtrl>(L"CKeyTestCtrl", kKeyTest);
    page.listCount = build.Area<MUI::MText>(L"MText", kListCount, L"00");
    page.listCount->SetTextColor(kHeadingColor);
    page.listCount->SetFont(L"SourceHanSansCN-Bold", 16, MUI::kFontBold);
    page.list = build.Control<MUI::KeyDKSCtrlEx>(L"KeyDKSCtrlEx", kList);
    page.list->SetTextColor(MainColor::kText);
    page.list->SetTypeNames({L"DKS", L"MT", L"TGL", L"RS", L"SOCD", L"OKS"});
    for (unsigned i = 0; i < 6; ++i) {
        page.typeButtons[i] = build.Control<MUI::MButton1>(L"MButton1", kFirstTypeButton + i);
        page.typeButtons[i]->SetAlignment(MUI::kAlignCenter);
        page.typeButtons[i]->SetTextSize(16);
    }
    ApplyAdvKeyPageTexts();
}

void KeyboardDlg::LayoutAdvKeyPage(const RECT& client) { PlaceControls(*this, client, kRows); }

void KeyboardDlg::ApplyAdvKeyPageTexts()
{
    for (const auto& text : kTexts) {
        MUI::MControl* control = GetControl(text.id);
        if (control == nullptr) continue;
        if (text.caption != 0) control->SetTitle(GetLanString(text.caption));
        if (text.tooltip != 0) control->SetTooltip(GetLanString(text.tooltip));
    }
    for (int i = 0; i < 6; ++i) {
        if (advKeyPage.typeButtons[i] != nullptr)
            advKeyPage.typeButtons[i]->SetTitle(GetLanString(kFirstTypeText + i));
    }
    if (advKeyPage.layers != nullptr) {
        for (int i = 0; i < static_cast<int>(std::size(kLayerTexts)); ++i) {
            advKeyPage.layers->SetItemText(i, GetLanString(kLayerTexts[i]));
        }
    }
}

int KeyboardDlg::OnAdvKeyPageMessage(unsigned id, int code, LPARAM value)
{
    switch (id) {
        case kKeyboard:
            return code == MUI::kNotifyClick || code == 5 ? OnAdvKeySelected() : 0;
        case kList:
            return code == MUI::kNotifyClick || code == MUI::kNotifyItemDeleted
                       ? OnAdvKeyItemSelect(code)
                       : 0;
        default:
            break;
    }
    if (code != MUI::kNotifyClick) return 0;
    switch (id) {
        case kProfileCombo:
            OnProfileComboChanged(kProfileCombo);
            return 1;
        case kProfileMenu:
            ShowProfileMenu(kProfileMenu, WM_ADVKEY_PROFILE_MENU);
            return 1;
        case kResetKey: {
            const int key =
                advKeyPage.keyboard != nullptr ? advKeyPage.keyboard->GetCurrentKeyValue() : -1;
            if (key <= 0 || advKeyPage.armedType != 0) return 0;
            ResetKeyToDefault(key);
            return 1;
        }
        case kResetLayer:
            return ConfirmResetLayer();
        case kLayers:
            OnKeyLayerChanged(kLayers);
            return 1;
        default:
            if (id >= kFirstTypeButton && id <= kLastTypeButton) return OnAdvKeyTypeButton(id);
            (void)value;
            return 0;
    }
}

void KeyboardDlg::EnableAdvKeyControls(bool enabled)
{
    for (MUI::MButton1* button : advKeyPage.typeButtons) {
        if (button != nullptr) button->SetEnabled(enabled);
    }
}

void KeyboardDlg::ResetAdvKeyPage()
{
    EnableAdvKeyControls(true);
    DestroyAdvKeyEditor();
    advKeyPage.armedType = 0;
    ClearAdvKeyChecks();
}

void KeyboardDlg::ClearAdvKeyChecks()
{
    if (MUI::KeyboardCtrl* view = advKeyPage.keyboard) {
        view->ResetAllItemCheck(false);
        view->SetAdvancedType(-1);
        view->SetPickFlag(1);
        view->UpdateControl();
    }
}
