// The layout presets of the key page, on the profile its combo box shows and the current layer.
#include <string>

#include "app/KeyboardDlg.h"
#include "app/RegistrySettings.h"
#include "keys/KeyLayoutPresets.h"
#include "platform/mui/MComboBox.h"
#include "storage/KBDataBase.h"

bool KeyboardDlg::ApplyKeyLayoutPreset(int presetId)
{
    if (!IsKeyLayoutPreset(presetId)) return false;
    if (ApplyKeyPreset(KBDataBase::GetInstance(), presetId, KeyPageProfile(),
                       page.currentFnLayer.load()) == 0) {
        return false;
    }
    QueueCommand(QCMD_WRITE_KEYMAP);
    return true;
}

void KeyboardDlg::ShowStoredKeyPreset()
{
    std::wstring value;
    if (!KBDataBase::GetInstance().GetConfig(0, L"key_profile_preset", value)) {
        return;
    }
    if (auto* presets = GetControlAs<MUI::MComboBox>(KeyPageId::kPresetCombo)) {
        presets->SelectData(DecimalTextToInt(value));
    }
}
