// The key-assignment page's controls: construction inside the page's container, their
// rectangles, and their language texts.
#include <string>

#include "app/KeyboardDlg.h"
#include "app/KeyboardDlgBuilder.h"
#include "app/KeyboardDlgLayoutRows.h"
#include "app/Language.h"
#include "keys/KeyLayoutPresets.h"
#include "keys/KeyPalette.h"
#include "platform/mui/CRoundArea.h"
#include "platform/mui/KeyFuncControl.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MImageButton.h"
#include "platform/mui/MPicture.h"
#include "platform/mui/MText.h"

namespace {

using namespace KeyPageId;

constexpr MUI::ARGB kHeadingColor = 0xFF404040;
constexpr MUI::ARGB kTabTextColor = 0xFF727272;
constexpr MUI::ARGB kPaletteAreaColor = 0xFFFFFFFF;

// Preset combo items (id, text number).
constexpr struct {
    int id;
    int text;
} kPresetItems[] = {{PRESET_STANDARD, 225},
                    {PRESET_MAC_SWAP, 226},
                    {PRESET_DVORAK, 227},
                    {PRESET_COLEMAK, 228},
                    {PRESET_WORKMAN, 229}};

// Captions and tooltips (0: none) of the page's texts and buttons.
constexpr struct {
    unsigned id;
    int caption;
    int tooltip;
} kTexts[] = {{kHeading, 51, 0},      {kResetKey, 95, 99},       {kProfileLabel, 100, 0},
              {kProfileMenu, 0, 38},  {kPresetLabel, 102, 0},    {kPresetCombo, 0, 103},
              {kResetLayer, 98, 105}, {kExportProfile, 97, 106}, {kImportProfile, 96, 107}};

constexpr int kLayerTexts[] = {108, 109};
constexpr int kFirstTabText = 120;

constexpr LayoutRow kKeyPageRows[] = {
    {kPaletteBackground, Px(340), FromB(-420), Px(1410), FromB(-90)},
    {kHeadingLine, Px(7), Px(154), Px(244), Px(156)},
    {kHeading, Px(65), Px(125), Px(195), Px(150)},
    {kLayers, Px(1154), Px(120), Px(1514), Px(140)},
    {kTypeTab, Px(33), Px(285), Px(203), Px(885)},
    {kKeyFunctions, Px(390), Px(480), FromR(-50), FromB(-110)},
    {kKeyValues, Px(390), Px(480), FromR(-50), FromB(-110)},
    // The profile chooser is placed on the preset chooser's row, to its left.
    {kProfileLabel, Px(390), FromB(-50), Px(470), FromB(-27)},
    {kProfileCombo, Px(470), FromB(-50), Px(670), FromB(-27)},
    {kProfileMenu, Px(676), FromB(-50), Px(699), FromB(-27)},
    {kPresetLabel, Px(800), FromB(-50), Px(895), FromB(-27)},
    {kPresetCombo, Px(900), FromB(-50), Px(1030), FromB(-27)},
    {kResetKey, FromR(-542), FromB(-50), FromR(-477), FromB(-27)},
    {kResetLayer, FromR(-452), FromB(-50), FromR(-387), FromB(-27)},
    {kExportProfile, FromR(-362), FromB(-50), FromR(-297), FromB(-27)},
    {kImportProfile, FromR(-272), FromB(-50), FromR(-207), FromB(-27)},
    {70, Px(370), FromB(-360), Px(472), FromB(-205)},
    {71, Px(495), FromB(-360), Px(597), FromB(-205)},
    {72, Px(620), FromB(-360), Px(722), FromB(-205)},
    {73, Px(745), FromB(-360), Px(847), FromB(-205)},
    {74, Px(870), FromB(-360), Px(972), FromB(-205)},
    {75, Px(995), FromB(-360), Px(1097), FromB(-205)},
    {76, Px(1120), FromB(-360), Px(1222), FromB(-205)},
    {77, Px(1245), FromB(-360), Px(1347), FromB(-205)},
};

MUI::MButton* PageButton(const ControlBuilder& build, unsigned id, const wchar_t* icon)
{
    auto* button = build.Control<MUI::MButton>(L"MButton", id);
    button->SetImage(icon);
    return button;
}

}  // namespace

void KeyboardDlg::BuildKeyPage()
{
    const ControlBuilder build(*this, ui.keysPage);
    KeyPageControls& page = keyPage;
    for (int i = 0; i < kMousePictureCount; ++i) {
        page.mousePictures[i] =
            build.Area<MUI::MPicture>(L"MPicture", kMousePictureFirst + static_cast<unsigned>(i));
    }
    page.background = build.Area<MUI::MPicture>(L"MPicture", kBackground);
    page.headingLine = build.Area<MUI::CRoundArea>(L"CRoundArea", kHeadingLine);
    page.headingLine->SetColor(kHeadingColor);
    page.headingLine->SetRoundRadius(0);
    page.heading = build.Area<MUI::MText>(L"MText", kHeading);
    page.heading->SetTextColor(kHeadingColor);
    page.heading->SetFont(L"AlibabaPuHuiTi-Medium", 25, MUI::kFontRegular);

    // The model's picture lies under the keys: it is made first.
    page.keyboardBackground = build.Area<MUI::MPicture>(L"MPicture", kKeyboardBackground);
    page.keyboard = build.Control<MUI::KeyboardCtrl>(L"KeyboardCtrl", kKeyboard);
    page.keyboard->SetSelectMode(MUI::KeyboardCtrl::kSelectSingle);
    page.paletteBackgrounds[0] = build.Area<MUI::MPicture>(L"MPicture", kPaletteBackground);
    page.paletteBackgrounds[1] = build.Area<MUI::MPicture>(L"MPicture", kPaletteBackground2);
    page.paletteBackgrounds[1]->SetVisible(false);

    page.profileLabel = build.Area<MUI::MText>(L"MText", kProfileLabel);
    page.profileLabel->SetTextColor(MainColor::kText);
    page.profileCombo = build.Control<MUI::MComboBox>(L"MComboBox", kProfileCombo);
    page.profileCombo->SetImage(L"img_combobox.png", 4);
    page.profileCombo->SetTextColor(MainColor::kList);
    page.profileMenu = build.Control<MUI::MImageButton>(L"MImageButton", kProfileMenu);
    page.profileMenu->SetImage(L"icon_btn_moreprofile.png");
    page.presetLabel = build.Area<MUI::MText>(L"MText", kPresetLabel);
    page.presetLabel->SetTextColor(MainColor::kText);
    page.presetCombo = build.Control<MUI::MComboBox3>(L"MComboBox3", kPresetCombo);
    page.presetCombo->SetTextColor(MainColor::kList);
    for (const auto& item : kPresetItems) {
        page.presetCombo->AddItem(GetLanString(item.text), item.id);
    }
    // Until a stored preset is read the chooser shows the first one rather than nothing.
    page.presetCombo->SetCurSel(0);

    page.resetKey = PageButton(build, kResetKey, L"icon_btn_resetkey.png");
    page.resetLayer = PageButton(build, kResetLayer, L"icon_btn_reset.png");
    page.importProfile = PageButton(build, kImportProfile, L"icon_btn_import.png");
    page.exportProfile = PageButton(build, kExportProfile, L"icon_btn_export.png");

    page.layers = build.Control<MUI::KeyLayerCtrl>(L"KeyLayerCtrl", kLayers);
    page.layers->SetImage(L"fn_identification.png");
    page.layers->SetTextColor(MainColor::kText);
    page.paletteArea = build.Area<MUI::CRoundArea>(L"CRoundArea", kPaletteArea);
    page.paletteArea->SetColor(kPaletteAreaColor);

    page.typeTab = build.Control<MUI::KeyTypeTab>(L"KeyTypeTab", kTypeTab);
    page.typeTab->SetImage(L"img_keytypetab_bg1.png");
    page.typeTab->SetItemSize(170, 60);
    page.typeTab->SetTextColor(kTabTextColor);
    page.typeTab->SetTextSize(16);
    page.keyFunctions = build.Control<MUI::KeyFuncControl>(L"KeyFuncControl", kKeyFunctions);
    page.keyFunctions->SetTextColor(MainColor::kText);
    page.keyValues = build.Control<MUI::KeyValueList2>(L"KeyValueList2", kKeyValues);
    page.keyValues->SetTextColor(MainColor::kText);
    page.keyValues->SetVisible(false);

    ApplyKeyPageTexts();
    // Until the texts are applied again the preset chooser's tooltip is its label's text.
    page.presetCombo->SetTooltip(GetLanString(102));
}

void KeyboardDlg::LayoutCustomKeyPage(const RECT& client)
{
    PlaceControls(*this, client, kKeyPageRows);
}

void KeyboardDlg::ApplyKeyPageTexts()
{
    for (const auto& text : kTexts) {
        MUI::MControl* control = GetControl(text.id);
        if (control == nullptr) continue;
        if (text.caption != 0) control->SetTitle(GetLanString(text.caption));
        if (text.tooltip != 0) control->SetTooltip(GetLanString(text.tooltip));
    }
    if (keyPage.layers != nullptr) {
        for (int i = 0; i < static_cast<int>(std::size(kLayerTexts)); ++i) {
            keyPage.layers->SetItemText(i, GetLanString(kLayerTexts[i]));
        }
    }
    if (keyPage.typeTab != nullptr) {
        for (int i = 0; i < MUI::KeyTypeTab::kTabCount; ++i) {
            keyPage.typeTab->SetTabTitle(i, GetLanString(kFirstTabText + i));
        }
    }
    // The palette's own key names: "Disable", and the tiles of an open media tab.
    if (keyPage.keyFunctions != nullptr) {
        const std::wstring disable = GetLanString(kDisableKeyText);
        keyPage.keyFunctions->SetItemNameByUsage(MUI::KeyFuncControl::kDisableUsage,
                                                 disable.empty() ? L"Disable" : disable);
    }
    if (keyPage.typeTab != nullptr && keyPage.keyValues != nullptr &&
        keyPage.typeTab->GetCurTab() != PALETTE_KEYS) {
        BuildKeyValuePalette(keyPage.typeTab->GetCurTab());
    }
    // The preset names follow the language too (the box shows the chosen one's).
    if (keyPage.presetCombo != nullptr) {
        for (int i = 0; i < keyPage.presetCombo->GetItemCount(); ++i) {
            for (const auto& item : kPresetItems) {
                if (item.id == keyPage.presetCombo->GetItemData(i)) {
                    keyPage.presetCombo->SetItemText(i, GetLanString(item.text));
                }
            }
        }
    }
}
