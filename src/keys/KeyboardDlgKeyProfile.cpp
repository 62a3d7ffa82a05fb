// The key-assignment page's profile combo box and layout-preset chooser.
#include <string>

#include "app/KeyboardDlg.h"
#include "keys/KeyLayoutPresets.h"
#include "platform/mui/MComboBox3.h"
#include "storage/KBDataBase.h"

namespace {

// The profile-menu entries the preset chooser also takes.
constexpr int kProfileMenuAdd = 101;
constexpr int kProfileMenuDelete = 102;
constexpr int kProfileMenuRename = 103;

}  // namespace

void KeyboardDlg::OnCustomKeyProfileChanged() { OnProfileComboChanged(KeyPageId::kProfileCombo); }

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
        case kProfileMenuAdd:
        case kProfileMenuDelete:
        case kProfileMenuRename:
            OnCustomKeyMenuCommand(choice);
            break;
        default:
            break;
    }
    KBDataBase::GetInstance().SetConfig(0, L"key_profile_preset", std::to_wstring(choice));
    QueueCommand(QCMD_WRITE_SETTINGS);
}
