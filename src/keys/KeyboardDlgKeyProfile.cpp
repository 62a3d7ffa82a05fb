// The key-assignment page's profile combo box and layout-preset chooser.
#include <string>

#include "app/KeyboardDlg.h"
#include "keys/KeyLayoutPresets.h"
#include "platform/mui/MComboBox3.h"
#include "storage/KBDataBase.h"

void KeyboardDlg::OnCustomKeyProfileChanged()
{
    if (keyPage.profileCombo == nullptr) return;
    const int profile = keyPage.profileCombo->GetCurData();
    if (profile <= 0) return;
    page.currentProfile = profile;
    KBDataBase::GetInstance().SetActiveProfile(profile);
    for (const unsigned id : KeyPageId::kOtherProfileCombos) {
        if (auto* combo = GetControlAs<MUI::MComboBox>(id)) combo->SelectData(profile);
    }
    QueueWithWaitDlg(QCMD_APPLY_PROFILE);
}

void KeyboardDlg::OnKeyPresetSelected()
{
    if (keyPage.presetCombo == nullptr) return;
    const int choice = keyPage.presetCombo->GetCurData();
    switch (choice) {
        case PRESET_STANDARD:
        case PRESET_MAC_SWAP:
        case PRESET_DVORAK:
        case PRESET_COLEMAK:
        case PRESET_WORKMAN:
            ApplyKeyLayoutPreset(choice);
            RefreshKeyAssignView();
            break;
        default:
            // The profile-menu entries (add, delete, rename) come with the profile list.
            break;
    }
    KBDataBase::GetInstance().SetConfig(0, L"key_profile_preset", std::to_wstring(choice));
    QueueCommand(QCMD_WRITE_SETTINGS);
}
