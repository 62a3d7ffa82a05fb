// The settings page's handlers: the keyboard-wide settings of the frame's comboboxes, the
// language, autostart, start hidden and the close behaviour, the links, the factory reset, and
// the page's load from the database.
#include <string>

#include "app/CUIMessageBox.h"
#include "app/DatabaseNotice.h"
#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "device/DeviceManager.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/Manager.h"
#include "platform/os/Autostart.h"
#include "platform/os/ShellOpen.h"
#include "platform/os/TrayIcon.h"
#include "storage/KBDataBase.h"

namespace {

using namespace MainId;

constexpr int kGlobalProfile = 0;
// The program's file in the program's own folder (not the folder of its data files), as the
// autostart entry starts it.
constexpr const wchar_t* kAutostartCommand = L"Tolvenic -autorun";

constexpr int kResetQuestionText = 280;
constexpr int kResetCaptionText = 281;
constexpr int kResetNeedsKeyboardText = 282;
constexpr int kResetFailedText = 283;

// The frame's keyboard-setting comboboxes and the global configuration value each one edits,
// in the order the page loads them.
struct SettingCombo {
    MUI::MComboBox2* MainWindowControls::*combo;
    const wchar_t* key;
};
constexpr SettingCombo kSettingCombos[] = {
    {&MainWindowControls::tickRateCombo, L"tick_rate"},
    {&MainWindowControls::debounceCombo, L"debounce_level"},
    {&MainWindowControls::reportRateCombo, L"reporte_rate"},
    {&MainWindowControls::tachyonModeCombo, L"perf_tachyon_mode"},
};

// The keyboard's key locks: each switch and the global configuration value it sets ("1" on,
// "0" off), carried by the settings block.
struct LockSwitch {
    unsigned id;
    MUI::CSwitchButton* MainWindowControls::Settings::*button;
    const wchar_t* key;
};
constexpr LockSwitch kLockSwitches[] = {
    {kSetWinLockSwitch, &MainWindowControls::Settings::winLockSwitch, L"disable_win"},
    {kSetAltTabSwitch, &MainWindowControls::Settings::altTabSwitch, L"disable_alttab"},
    {kSetAltF4Switch, &MainWindowControls::Settings::altF4Switch, L"disable_altf4"},
};

bool KeyboardPresent(const KeyboardDlg& dlg)
{
    return dlg.connection.deviceFound.load() && dlg.connection.deviceOpened.load();
}

}  // namespace

std::optional<int> KeyboardDlg::OnSettingsPageMessage(unsigned id)
{
    switch (id) {
        case kTickRateCombo:
            return OnTickRateChanged();
        case kDebounceCombo:
            return OnDebounceChanged();
        case kReportRateCombo:
            return OnReportRateChanged();
        case kTachyonModeCombo:
            return OnTachyonModeChanged();
        case kSetExportProfiles:
        case kSetImportProfiles:
            return 0;
        case kSetWinLockSwitch:
        case kSetAltTabSwitch:
        case kSetAltF4Switch:
            return OnKeyLockSwitch(id);
        case kSetFactoryReset:
            return ResetAllData();
        case kSetLanguageCombo:
            return OnLanguageChanged();
        case kSetAutorunCheck:
            return OnAutorunCheck();
        case kSetAutorunMinimize:
            return OnAutorunMinimizeCheck();
        case kSetExitToTray:
        case kSetExitProgram:
            return OnExitModeCheck();
        case kSetWebsiteLink:
        case kSetSellerLink:
            os::ShellOpen(MainLink::kSellerPage);
            return 1;
        case kSetSupportLink:
            os::ShellOpen(MainLink::kSupportPage);
            return 1;
        case kSetDownloadsLink:
            // Shows an address of its own, like the support link, so it opens it too.
            os::ShellOpen(MainLink::kDownloadsPage);
            return 1;
        case kSetKeyTestButton:
            return ShowKeyTestDlg();
        default:
            return std::nullopt;
    }
}

namespace {

int StoreSetting(KeyboardDlg& dlg, const SettingCombo& setting)
{
    const MUI::MComboBox2* combo = dlg.ui.*setting.combo;
    if (combo == nullptr) {
        return 1;
    }
    KBDataBase::GetInstance().SetConfig(kGlobalProfile, setting.key,
                                        std::to_wstring(combo->GetCurData()));
    dlg.QueueCommand(QCMD_WRITE_SETTINGS);
    return 1;
}

}  // namespace

int KeyboardDlg::OnTickRateChanged() { return StoreSetting(*this, kSettingCombos[0]); }
int KeyboardDlg::OnDebounceChanged() { return StoreSetting(*this, kSettingCombos[1]); }
int KeyboardDlg::OnReportRateChanged() { return StoreSetting(*this, kSettingCombos[2]); }
int KeyboardDlg::OnTachyonModeChanged() { return StoreSetting(*this, kSettingCombos[3]); }

int KeyboardDlg::OnKeyLockSwitch(unsigned id)
{
    for (const LockSwitch& lock : kLockSwitches) {
        const MUI::CSwitchButton* button = ui.settings.*lock.button;
        if (lock.id != id || button == nullptr) {
            continue;
        }
        KBDataBase::GetInstance().SetConfig(kGlobalProfile, lock.key,
                                            button->GetCheck() ? L"1" : L"0");
        QueueCommand(QCMD_WRITE_SETTINGS);
    }
    return 1;
}

void KeyboardDlg::LoadSettingsPage()
{
    KBDataBase& database = KBDataBase::GetInstance();
    for (const SettingCombo& setting : kSettingCombos) {
        std::wstring value;
        if (MUI::MComboBox2* combo = ui.*setting.combo;
            combo != nullptr && database.GetConfig(kGlobalProfile, setting.key, value)) {
            combo->SelectData(DecimalTextToInt(value));
        }
    }
    for (const LockSwitch& lock : kLockSwitches) {
        std::wstring value;
        if (MUI::CSwitchButton* button = ui.settings.*lock.button; button != nullptr) {
            button->SetCheck(database.GetConfig(kGlobalProfile, lock.key, value) && value == L"1");
        }
    }
    if (ui.settings.firmwareVersion != nullptr) {
        ui.settings.firmwareVersion->SetTitle(DeviceManager::GetInstance().GetFirmwareVersion());
    }
}

int KeyboardDlg::OnLanguageChanged()
{
    MUI::MComboBox* combo = ui.settings.languageCombo;
    if (combo == nullptr || combo->GetCurSel() < 0) {
        return 1;
    }
    CurrentLanguageId = combo->GetCurData();
    SetLanguageId(CurrentLanguageId.load());
    ApplyLanguageTexts();
    return 1;
}

int KeyboardDlg::OnAutorunCheck()
{
    MainWindowControls::Settings& page = ui.settings;
    const std::wstring name = MUI::Manager::GetDeviceName();
    if (page.autorunCheck->GetCheck()) {
        os::WriteAutostart(name, GetProgramFolder() + kAutostartCommand);
        ShowTrayChoices();
        return 1;
    }
    page.autorunMinimize->SetCheck(false);
    page.autorunMinimize->SetEnabled(false);
    SetRegString(L"autorun_minimize", L"0");
    os::DeleteAutostart(name);
    return 1;
}

int KeyboardDlg::OnAutorunMinimizeCheck()
{
    // Without a tray a hidden start could not be undone: the box is not offered then.
    const bool hidden = ui.settings.autorunMinimize->GetCheck() && os::SystemTrayAvailable();
    SetRegString(L"autorun_minimize", hidden ? L"1" : L"0");
    return 1;
}

int KeyboardDlg::OnExitModeCheck()
{
    const bool toTray = ui.settings.exitToTray->GetCheck() && os::SystemTrayAvailable();
    SetRegString(L"exit_mode", toTray ? L"1" : L"0");
    return 1;
}

void KeyboardDlg::ShowTrayChoices()
{
    MainWindowControls::Settings& page = ui.settings;
    const bool tray = os::SystemTrayAvailable();
    page.autorunMinimize->SetEnabled(tray && page.autorunCheck->GetCheck());
    page.exitToTray->SetEnabled(tray);
    if (!tray) {
        page.autorunMinimize->SetCheck(false);
        page.exitProgram->SetCheck(true);
    }
}

int KeyboardDlg::ResetAllData()
{
    // Without a keyboard nothing is reset at all: the keyboard's tables and the program's data
    // go back to their defaults together or not at all.
    const auto needsKeyboard = [this] {
        ShowMessageBox(GetHWND(), GetLanString(kResetNeedsKeyboardText).c_str(),
                       GetLanString(kResetCaptionText).c_str(), kMessageBoxOneButton);
        return 0;
    };
    if (!KeyboardPresent(*this)) {
        return needsKeyboard();
    }
    if (ShowMessageBox(GetHWND(), GetLanString(kResetQuestionText).c_str(),
                       GetLanString(kResetCaptionText).c_str(),
                       kMessageBoxTwoButtons) != kMessageBoxYes) {
        return 0;
    }
    if (!KeyboardPresent(*this)) {
        return needsKeyboard();  // pulled out while the question was shown
    }
    // The keyboard first: the program's data go back to their defaults only once the keyboard
    // has done so, and a refused or unanswered reset leaves both as they were.
    worker.factoryResetDone = false;
    QueueWithWaitDlg(QCMD_FACTORY_RESET);
    if (!worker.factoryResetDone.load()) {
        ShowMessageBox(GetHWND(), GetLanString(kResetFailedText).c_str(),
                       GetLanString(kResetCaptionText).c_str(), kMessageBoxOneButton);
        return 0;
    }
    ResetUiDefaults();
    if (ui.settings.exitProgram != nullptr) {
        ui.settings.exitProgram->SetCheck(true);
    }
    {
        // No routine runs while the database file is replaced and the layout reloaded.
        const std::unique_lock<std::mutex> held = worker.hold.HoldBetweenSteps();
        DeviceModel chosen;
        {
            std::lock_guard lock(model.mutex);
            const int index = connection.selectedModelIndex.load();
            if (index >= 0 && static_cast<size_t>(index) < model.models.size()) {
                chosen = model.models[static_cast<size_t>(index)];
            }
        }
        KBDataBase& database = KBDataBase::GetInstance();
        database.Close();
        database.DeleteDbFile(GetDataFolder(), chosen.name);
        TellDatabaseProblem(GetHWND(), database.Open(GetDataFolder(), chosen.name));
        if (keyPage.presetCombo != nullptr) {
            keyPage.presetCombo->SetCurSel(0);
        }
        LoadKeyboardLayout(chosen.id);
    }
    QueueWithWaitDlg(QCMD_RELOAD_AFTER_RESET);
    return 1;
}
