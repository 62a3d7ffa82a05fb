// The layout presets of the key page, on the profile its combo box shows and the current layer.
#include "app/KeyboardDlg.h"
#include "keys/KeyLayoutPresets.h"
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

void KeyboardDlg::ApplyPresetStandard() { ApplyKeyLayoutPreset(PRESET_STANDARD); }
void KeyboardDlg::ApplyPresetMacSwap() { ApplyKeyLayoutPreset(PRESET_MAC_SWAP); }
void KeyboardDlg::ApplyPresetDvorak() { ApplyKeyLayoutPreset(PRESET_DVORAK); }
void KeyboardDlg::ApplyPresetColemak() { ApplyKeyLayoutPreset(PRESET_COLEMAK); }
void KeyboardDlg::ApplyPresetWorkman() { ApplyKeyLayoutPreset(PRESET_WORKMAN); }
