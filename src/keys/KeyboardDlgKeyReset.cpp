// The key-assignment page's resets: one key, the selected key, the whole layer; on the base
// layer followed by the stored layout preset.
#include <string>
#include <vector>

#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "keys/AdvancedKeyRemoval.h"
#include "keys/KeyDefaults.h"
#include "keys/KeyLayoutPresets.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox3.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

constexpr int kResetAllText = 235;
constexpr int kResetAllCaption = 236;

// The stored "key_profile_preset" (profile 0); 0 when missing or not a number.
int StoredKeyPreset()
{
    std::wstring text;
    if (!KBDataBase::GetInstance().GetConfig(0, L"key_profile_preset", text)) return 0;
    try {
        return std::stoi(text);
    } catch (...) {
        return 0;
    }
}

}  // namespace

void KeyboardDlg::ResetKeyToDefault(int keyCode)
{
    KBDataBase& db = KBDataBase::GetInstance();
    const int profile = KeyPageProfile();
    const int layer = page.currentFnLayer.load();
    // The key and the whole advanced key it is bound to are reset together or not at all.
    AdvancedKeyRemoval removal;
    const bool kept =
        db.WriteTogether([&] { return ResetKeyRow(db, profile, layer, keyCode, removal); });
    if (kept) TakeAdvancedKeyRemoval(removal);
    RefreshKeyAssignView();
    if (kept) QueueCommand(QCMD_WRITE_KEYMAP);
}

void KeyboardDlg::ResetSelectedKey()
{
    if (keyPage.keyboard == nullptr) return;
    const int key = keyPage.keyboard->GetCurrentKeyValue();
    if (key < 1) return;
    ResetKeyToDefault(key);
    const int preset = StoredKeyPreset();
    if (keyPage.presetCombo != nullptr) keyPage.presetCombo->SelectData(preset);
    // The stored preset is laid over the key just reset only: over the whole layer it would
    // also undo every other key's assignment. A typing layout belongs to the base layer; an
    // FN layer's default is the keyboard's own.
    const int layer = page.currentFnLayer.load();
    if (!IsKeyLayoutPreset(preset) || layer != 0) return;
    KBDataBase& db = KBDataBase::GetInstance();
    KeyMacroRecord row;
    if (!db.GetKeyMacro(KeyPageProfile(), layer, key, row)) return;
    if (!ApplyKeyPresetToRow(preset, row)) return;
    db.UpdateKeyMacro(row);
    RefreshKeyAssignView();
    QueueCommand(QCMD_WRITE_KEYMAP);
}

void KeyboardDlg::ResetLayerToDefault()
{
    KBDataBase& db = KBDataBase::GetInstance();
    const int profile = KeyPageProfile();
    const int layer = page.currentFnLayer.load();
    // The whole layer is reset in one transaction: a failing row leaves the layer as it was.
    AdvancedKeyRemoval removal;
    const bool kept = db.WriteTogether([&] {
        std::vector<KeyMacroRecord*> stored;
        db.GetLayerKeyMacros(profile, layer, stored);
        for (const KeyMacroRecord& row : TakeRecords(stored)) {
            // Each row is read again: removing an earlier key's advanced key may have changed it.
            if (!ResetKeyRow(db, profile, layer, row.key_code, removal)) return false;
        }
        return true;
    });
    if (kept) TakeAdvancedKeyRemoval(removal);
    RefreshKeyAssignView();
    if (kept) QueueCommand(QCMD_WRITE_KEYMAP);
}

void KeyboardDlg::ResetAllKeys()
{
    if (ShowMessageBox(GetHWND(), GetLanString(kResetAllText).c_str(),
                       GetLanString(kResetAllCaption).c_str(),
                       kMessageBoxTwoButtons) != kMessageBoxYes) {
        return;
    }
    if (keyPage.presetCombo != nullptr) keyPage.presetCombo->SetCurSel(0);
    ResetLayerToDefault();
    const int preset = StoredKeyPreset();
    if (keyPage.presetCombo != nullptr) keyPage.presetCombo->SelectData(preset);
    // An FN layer is reset to the keyboard's own defaults, which a typing layout would undo.
    if (page.currentFnLayer.load() == 0 && ApplyKeyLayoutPreset(preset)) RefreshKeyAssignView();
}
