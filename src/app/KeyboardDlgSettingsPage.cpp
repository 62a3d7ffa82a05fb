// The settings page's controls and their first state (language, autostart, exit mode), and
// the UI defaults a factory reset restores.
#include <string>

#include "app/KeyboardDlg.h"
#include "app/KeyboardDlgBuilder.h"
#include "app/KeyboardDlgTexts.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "platform/mui/Manager.h"
#include "platform/os/Autostart.h"

namespace {

using namespace MainId;

constexpr MUI::ARGB kDarkGrey = 0xFF404040;
constexpr MUI::ARGB kHintGrey = 0xFFA0A0A0;

// A label; its text comes with the page's texts unless given here. Size 0 keeps the default.
// A language's own name for itself, as the language combobox lists it.
std::wstring LanguageName(int language)
{
    switch (language) {
        case 2052:
            return L"简体中文";
        default:
            return L"LCID " + std::to_wstring(language);
    }
}

MUI::MText* Label(const ControlBuilder& build, unsigned id, MUI::ARGB color, int size = 0,
                  std::wstring_view text = {})
{
    auto* label = build.Area<MUI::MText>(L"MText", id, text);
    label->SetTextColor(color);
    if (size > 0) {
        label->SetTextSize(size);
    }
    return label;
}

MUI::CRoundArea* Band(const ControlBuilder& build, unsigned id, MUI::ARGB color)
{
    auto* band = build.Area<MUI::CRoundArea>(L"CRoundArea", id);
    band->SetColor(color);
    return band;
}

MUI::MPicture* Picture(const ControlBuilder& build, unsigned id, const wchar_t* image)
{
    auto* picture = build.Area<MUI::MPicture>(L"MPicture", id);
    picture->SetImage(image);
    return picture;
}

// A left-aligned text button drawn as a link.
MUI::CTextButton* Link(const ControlBuilder& build, unsigned id, std::wstring_view text = {})
{
    auto* link = build.Control<MUI::CTextButton>(L"CTextButton", id, text);
    link->SetAlignment(MUI::kAlignLeft);
    link->SetStyle(4);
    // Inked as the version texts, so it reads on the page's white.
    link->SetTextColors(MainColor::kSecondary, 0xFF000000, 0xFF000000, 0xFF808080);
    link->SetTextSize(18);
    return link;
}

// A version text that checks for an update when clicked.
MUI::CTextButton* VersionButton(const ControlBuilder& build, unsigned id, std::wstring_view text)
{
    auto* button = build.Control<MUI::CTextButton>(L"CTextButton", id, text);
    button->SetAlignment(MUI::kAlignLeft);
    button->SetTextColors(MainColor::kSecondary, 0xFF000000, 0xFF000000, 0xFF808080);
    button->SetTextSize(20);
    return button;
}

MUI::MComboBox* ListCombo(const ControlBuilder& build, unsigned id, MUI::ARGB color)
{
    auto* combo = build.Control<MUI::MComboBox>(L"MComboBox", id);
    combo->SetImage(L"img_combobox.png", 4);
    combo->SetTextColor(color);
    return combo;
}

MUI::CSwitchButton* Switch(const ControlBuilder& build, unsigned id)
{
    auto* button = build.Control<MUI::CSwitchButton>(L"CSwitchButton", id);
    button->SetSwitchImages(L"img_switch_on.png", L"img_switch_off.png", 4);
    return button;
}

MUI::CIconButton* IconButton(const ControlBuilder& build, unsigned id, const wchar_t* icon,
                             MUI::ARGB color, int size)
{
    auto* button = build.Control<MUI::CIconButton>(L"CIconButton", id);
    if (icon != nullptr) {
        button->SetIcon(icon);
    }
    button->SetTextColor(color);
    button->SetTextSize(size);
    return button;
}

template <class T>
T* RadioBox(const ControlBuilder& build, const wchar_t* className, unsigned id, int size)
{
    auto* box = build.Control<T>(className, id);
    box->SetImage(L"btn_radiobox.png", 8);
    box->SetTextColor(MainColor::kSecondary);
    box->SetTextSize(size);
    return box;
}

void BuildControls(const ControlBuilder& build, MainWindowControls::Settings& page)
{
    using MainColor::kList;
    using MainColor::kSecondary;
    using MainColor::kText;

    Picture(build, kSetHeadingIcon, L"icon\\cofing_bg_key.png");
    Band(build, kSetHeadingLine, kDarkGrey)->SetRoundRadius(0);
    page.heading = Label(build, kSetHeading, kDarkGrey);
    page.heading->SetFont(L"AlibabaPuHuiTi-Medium", 25, MUI::kFontRegular);
    Band(build, kSetDivider1, 0xFF646464);
    Band(build, kSetDivider2, 0xFF646464);

    Label(build, kSetDeviceLabel, kList, 20);
    // Named after the keyboard's model once one is loaded.
    page.deviceName = Label(build, kSetDeviceName, kSecondary, 20);
    Label(build, kSetSoftwareLabel, kList, 20);
    page.softwareVersion = VersionButton(build, kSetSoftwareVersion, L"V1.0.0.2 (2025-11-25)");
    Label(build, kSetSoftwareHint, 0xFF969696, 12);
    Label(build, kSetFirmwareLabel, kList, 20);
    page.firmwareVersion = VersionButton(build, kSetFirmwareVersion, L"V1.0.1 (2024-02-05)");
    Label(build, kSetFirmwareHint, kHintGrey, 12);

    Label(build, kSetMagnetLabel, kList, 18, L"选择当前实装轴体磁通量")->SetVisible(false);
    page.magnetCombo = ListCombo(build, kSetMagnetCombo, kList);
    page.magnetCombo->SetVisible(false);
    page.magnetCombo->AddItem(L"750gs(默认)", 1);
    page.magnetCombo->SetCurSel(0);

    for (auto [id, slot] : {std::pair{kSetCheckSoftware, &page.checkSoftware},
                            std::pair{kSetCheckFirmware, &page.checkFirmware}}) {
        *slot = build.Control<MUI::MButton>(L"MButton", id);
        (*slot)->SetImage(L"btn_apply.png", 4);
        (*slot)->SetTextColor(0xFF21A939);
    }
    page.keyboardPicture = Picture(build, kSetKeyboardPicture, L"keyboard\\kb68.png");

    Label(build, kSetWinLockLabel, kList, 18);
    page.winLockSwitch = Switch(build, kSetWinLockSwitch);
    Label(build, kSetWinLockHint, kHintGrey);
    Label(build, kSetAltTabLabel, kText, 18);
    page.altTabSwitch = Switch(build, kSetAltTabSwitch);
    Label(build, kSetAltTabHint, kHintGrey);
    Label(build, kSetAltF4Label, kText, 18);
    page.altF4Switch = Switch(build, kSetAltF4Switch);
    Label(build, kSetAltF4Hint, kHintGrey);

    IconButton(build, kSetExportProfiles, L"icon\\icon_exportallprofile.png", kText, 16);
    IconButton(build, kSetImportProfiles, L"icon\\icon_importallprofile.png", kText, 16);
    page.factoryReset = IconButton(build, kSetFactoryReset, nullptr, kList, 20);
    IconButton(build, kSetCopyDebugInfo, L"icon\\icon_copydebuginfo.png", kList, 16)
        ->SetImage(L"btn_apply.png", 4);

    Label(build, kSetLanguageLabel, kList, 20);
    page.languageCombo = ListCombo(build, kSetLanguageCombo, kSecondary);
    page.languageCombo->SetTextSize(18);
    page.languageCombo->AddItem(L"English", 1033);
    for (const int language : SupportedLanguages) {
        if (language != 1033) {
            page.languageCombo->AddItem(LanguageName(language), language);
        }
    }
    page.languageCombo->SetCurSel(0);
    Label(build, kSetThemeLabel, kText, 20)->SetVisible(false);
    page.themeCombo = ListCombo(build, kSetThemeCombo, kSecondary);
    page.themeCombo->SetTextSize(18);
    page.themeCombo->SetVisible(false);
    page.themeCombo->AddItem(L"", 0);
    page.themeCombo->SetCurSel(0);

    Label(build, kSetStartupLabel, kList, 20);
    page.autorunCheck = RadioBox<MUI::CCheckButton>(build, L"CCheckButton", kSetAutorunCheck, 18);
    page.autorunMinimize =
        RadioBox<MUI::CCheckButton>(build, L"CCheckButton", kSetAutorunMinimize, 15);
    page.autorunMinimize->SetEnabled(false);
    Label(build, kSetExitModeLabel, kList, 20);
    page.exitToTray = RadioBox<MUI::CRadioButton>(build, L"CRadioButton", kSetExitToTray, 18);
    page.exitProgram = RadioBox<MUI::CRadioButton>(build, L"CRadioButton", kSetExitProgram, 18);
    page.exitToTray->SetGroup(kExitModeGroup);
    page.exitProgram->SetGroup(kExitModeGroup);

    // The about block's rule runs along the factory-reset button's lower edge, where it reads
    // as an underline of the button: it stays hidden.
    Band(build, kSetAboutLine, kDarkGrey)->SetVisible(false);
    page.aboutLogo = Picture(build, kSetAboutLogo, L"logo\\about_logo.png");
    Picture(build, kSetInfoPicture, L"info.png");
    Label(build, kSetWebsiteLabel, kList, 20);
    page.websiteLink = VersionButton(build, kSetWebsiteLink, MainLink::kSellerPage);
    page.websiteLink->SetTextSize(15);
    page.websiteLink->SetStyle(4);
    Label(build, kSetAboutLabel, kText, 20);
    Label(build, kSetPrivacyText, kSecondary, 15)->SetStyle(4);
    MUI::MText* terms = Label(build, kSetTermsText, kSecondary, 15);
    terms->SetStyle(4);
    terms->SetVisible(false);
    Label(build, kSetLicencesText, kSecondary)->SetStyle(4);
    Label(build, kSetSupportLabel, kText, 18);
    Link(build, kSetSupportLink, MainLink::kSupportPage);
    Label(build, kSetDownloadsLabel, kText, 18);
    Link(build, kSetDownloadsLink, MainLink::kDownloadsPage);
    Label(build, kSetKeyTestLabel, kText, 18);
    page.keyTestButton = Link(build, kSetKeyTestButton);
    Label(build, kSetFeedbackLabel, kText, 18);
    Link(build, kSetFeedbackLink);
    Label(build, kSetUpgradeHint, kText, 18);
    Label(build, kSetCopyright, kText, 18);
    Label(build, kSetCaptionText, kText, 20);
}

// Autostart is on while the log-in entry named after the device exists; starting hidden is
// offered only then.
void ShowAutostartState(MainWindowControls::Settings& page)
{
    if (!os::ReadAutostart(MUI::Manager::GetDeviceName()).has_value()) {
        return;
    }
    page.autorunCheck->SetCheck(true);
    page.autorunMinimize->SetEnabled(true);
    if (GetRegInt(L"autorun_minimize") == 1) {
        page.autorunMinimize->SetCheck(true);
    }
}

}  // namespace

void KeyboardDlg::BuildSettingsPage()
{
    BuildControls(ControlBuilder(*this, ui.settingsPage), ui.settings);
    ApplySettingsPageTexts(*this);

    // Every language the configuration lists is offered; any other id leaves English selected.
    ui.settings.languageCombo->SelectData(CurrentLanguageId.load());
    ShowAutostartState(ui.settings);
    if (GetRegInt(L"exit_mode") == 1) {
        ui.settings.exitToTray->SetCheck(true);
    } else {
        ui.settings.exitProgram->SetCheck(true);
    }
    ShowTrayChoices();
}

void KeyboardDlg::ResetUiDefaults()
{
    SetRegString(L"exit_mode", L"0");
    // The lighting page's red, green and blue edits.
    const std::pair<unsigned, int> colorEdits[] = {{171, 255}, {172, 0}, {173, 0}};
    for (const auto& [id, value] : colorEdits) {
        if (MUI::MControl* edit = GetControl(id)) {
            edit->SetTitle(std::to_wstring(value));
        }
    }
}
