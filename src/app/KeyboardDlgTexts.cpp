// Re-labelling of the main window: the frame, the tabs and the settings page take their texts
// from the current language file, by number.
#include "app/KeyboardDlgTexts.h"

#include <span>
#include <string>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/MainWindowControls.h"
#include "app/RegistrySettings.h"
#include "platform/mui/MComboBox.h"

namespace {

using namespace MainId;

constexpr const wchar_t* kDialogSection = L"KB.DIALOG";
constexpr const wchar_t* kCaptionSection = L"CAPTION";

// One text of a control: its caption, its tooltip or the text of one of its list items.
struct TextRow {
    enum Kind { kCaption, kTooltip, kItem };
    unsigned id;
    Kind kind;
    int number;
    int item = 0;
    const wchar_t* section = kDialogSection;
};

constexpr TextRow Caption(unsigned id, int number) { return {id, TextRow::kCaption, number}; }
constexpr TextRow Tip(unsigned id, int number) { return {id, TextRow::kTooltip, number}; }
constexpr TextRow Item(unsigned id, int item, int number)
{
    return {id, TextRow::kItem, number, item};
}

constexpr TextRow kFrameTexts[] = {
    Tip(kMaximizeButton, 2),
    Tip(kMinimizeButton, 3),
    {kCaptionText, TextRow::kCaption, 1, 0, kCaptionSection},
    Tip(kWebsiteButton, 60),
    Tip(kUserDocButton, 61),
    Tip(kForumButton, 62),
    Caption(kSoftwareUpgrade, 63),
    Tip(kSoftwareUpgrade, 63),
    Caption(kFirmwareUpgrade, 64),
    Tip(kFirmwareUpgrade, 64),
    Item(kTickRateCombo, 0, 70),
    Item(kTickRateCombo, 1, 71),
    Item(kTickRateCombo, 2, 72),
    Item(kDebounceCombo, 0, 75),
    Item(kDebounceCombo, 1, 76),
    Item(kDebounceCombo, 2, 77),
    Item(kReportRateCombo, 0, 80),
    Item(kReportRateCombo, 1, 81),
    Item(kReportRateCombo, 2, 82),
    Item(kReportRateCombo, 3, 83),
    Item(kTachyonModeCombo, 0, 85),
    Item(kTachyonModeCombo, 1, 86),
    Caption(kStatusText, 820),
};

constexpr TextRow kSettingsTexts[] = {
    Caption(kSetHeading, 56),
    Caption(kSetDeviceLabel, 550),
    Caption(kSetSoftwareLabel, 551),
    Caption(kSetSoftwareHint, 590),
    Caption(kSetFirmwareLabel, 591),
    Caption(kSetFirmwareHint, 590),
    Caption(kSetWinLockLabel, 552),
    Caption(kSetWinLockHint, 553),
    Caption(kSetAltTabLabel, 554),
    Caption(kSetAltTabHint, 555),
    Caption(kSetAltF4Label, 556),
    Caption(kSetAltF4Hint, 557),
    Caption(kSetExportProfiles, 558),
    Caption(kSetImportProfiles, 559),
    Caption(kSetFactoryReset, 560),
    Caption(kSetCopyDebugInfo, 561),
    Caption(kSetLanguageLabel, 562),
    Caption(kSetThemeLabel, 563),
    Item(kSetThemeCombo, 0, 580),
    Caption(kSetStartupLabel, 564),
    Caption(kSetAutorunCheck, 565),
    Caption(kSetAutorunMinimize, 566),
    Caption(kSetExitModeLabel, 567),
    Caption(kSetExitToTray, 568),
    Caption(kSetExitProgram, 569),
    Caption(kSetWebsiteLabel, 570),
    Caption(kSetAboutLabel, 592),
    Caption(kSetPrivacyText, 571),
    Caption(kSetTermsText, 572),
    Caption(kSetLicencesText, 573),
    Caption(kSetSupportLabel, 574),
    Caption(kSetDownloadsLabel, 575),
    Caption(kSetKeyTestLabel, 576),
    Caption(kSetKeyTestButton, 577),
    Caption(kSetFeedbackLabel, 578),
    Caption(kSetFeedbackLink, 579),
    Caption(kSetUpgradeHint, 581),
    Caption(kSetCopyright, 582),
    {kSetCaptionText, TextRow::kCaption, 2, 0, kCaptionSection},
    Caption(kSetCheckSoftware, 1000),
    Caption(kSetCheckFirmware, 1001),
};

void ApplyTexts(MUI::MDialog& window, std::span<const TextRow> rows)
{
    for (const TextRow& row : rows) {
        MUI::MControl* control = window.GetControl(row.id);
        if (control == nullptr) {
            continue;
        }
        const std::wstring text = GetLanString(row.number, row.section);
        switch (row.kind) {
            case TextRow::kCaption:
                control->SetTitle(text);
                break;
            case TextRow::kTooltip:
                control->SetTooltip(text);
                break;
            case TextRow::kItem:
                if (auto* list = dynamic_cast<MUI::MComboBox*>(control)) {
                    list->SetItemText(row.item, text);
                }
                break;
        }
    }
}

}  // namespace

void ApplyFrameTexts(MUI::MDialog& window)
{
    // With "exit_mode" 2 closing ends the program, and the close button says so.
    if (MUI::MControl* close = window.GetControl(kCloseButton)) {
        close->SetTooltip(GetLanString(GetRegInt(L"exit_mode") == 2 ? 17 : 16));
    }
    ApplyTexts(window, kFrameTexts);
}

void ApplyTabTexts(MUI::MTabCtrl& tabs)
{
    const int count = tabs.GetItemCount();
    for (int index = 0; index < count; ++index) {
        const int page = tabs.GetItemID(index);
        for (const MainTab& tab : kMainTabs) {
            if (tab.page == page) {
                tabs.SetItemCaption(index, GetLanString(tab.caption));
                break;
            }
        }
    }
    tabs.UpdateControl(true, false);
}

void ApplySettingsPageTexts(MUI::MDialog& window) { ApplyTexts(window, kSettingsTexts); }

void KeyboardDlg::ApplyLanguageTexts()
{
    // Frame, tabs, then each page: key assignment, advanced keys, lighting, performance,
    // settings, macros.
    ApplyFrameTexts(*this);
    if (ui.tabCtrl != nullptr) {
        ApplyTabTexts(*ui.tabCtrl);
    }
    ApplyKeyPageTexts();
    RelabelProfileNames();
    ApplyLightPageTexts();
    ApplyPerfPageTexts();
    ApplyAdvKeyPageTexts();
    ApplySettingsPageTexts(*this);
    ApplyMacroPageTexts();
    RelabelMacroNames();
}
