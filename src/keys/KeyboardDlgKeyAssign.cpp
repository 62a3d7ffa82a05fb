// The key-assignment page's handlers that give the selected key an action from the palette,
// by a pick or a drop, and the view refresh after every key-table change.
#include <string>
#include <vector>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "device/AdvancedKeyTables.h"
#include "device/KeyMacroType.h"
#include "keys/KeyDefaults.h"
#include "keys/KeyPalette.h"
#include "platform/mui/KeyFuncControl.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/PaletteDrag.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using namespace KeyPageId;

// The base-layer selector is named in the current language on the keys, whatever language
// stored its caption (the keyboard's own tables name it in Chinese).
constexpr int kBaseLayerFunction = 0xFF;

std::wstring ShownCaption(const KeyMacroRecord& row)
{
    if (row.macro_type == KMT_FUNCTION && row.macro_value == kBaseLayerFunction)
        return GetLanString(kBaseLayerText);
    return row.macro_desc;
}

// The key-function item that stands for "no action" (usage 3, no modifier, no extra value)
// and what it is stored as.
constexpr int kDisabledValue = 1;

// The row of the key on the profile's layer as stored (zero-filled when missing), addressed to
// that key.
KeyMacroRecord LoadKeyRow(int profile, int layer, int keyCode)
{
    KeyMacroRecord row;
    KBDataBase::GetInstance().GetKeyMacro(profile, layer, keyCode, row);
    row.profile = profile;
    row.fn_layer = layer;
    row.key_code = keyCode;
    return row;
}

// Gives row the current key function; false when none is current.
bool TakeKeyFunction(const MUI::KeyFuncControl& functions, KeyMacroRecord& row)
{
    int kind = 0, usage = 0, modifier = 0, extra = 0;
    std::wstring name;
    if (!functions.GetCurItemData(kind, usage, modifier, extra, name)) return false;
    if (usage == MUI::KeyFuncControl::kDisableUsage && modifier == 0 && extra == 0) {
        row.macro_type = KMT_DISABLED;
        row.macro_value = kDisabledValue;
        row.macro_value2 = 0;
        row.macro_value3 = 0;
    } else {
        row.macro_type = KMT_KEY;
        row.macro_value = usage;
        row.macro_value2 = modifier;
        row.macro_value3 = extra;
    }
    row.macro_desc = name;
    return true;
}

// Gives row the selected tile of the tab; false when no tile is selected or the tab has none.
bool TakePaletteValue(int tab, const MUI::KeyValueList2& values, KeyMacroRecord& row)
{
    const int type = PaletteMacroType(tab);
    int value = 0;
    std::wstring caption;
    if (type == KMT_NONE || !values.GetSelectKeyValue(value, caption)) return false;
    row.macro_type = type;
    row.macro_value = value;
    row.macro_desc = caption;
    return true;
}

}  // namespace

int KeyboardDlg::OnKeyPageMessage(unsigned id, int code, LPARAM value)
{
    if (code != MUI::kNotifyClick) return 0;
    switch (id) {
        case kProfileCombo:
            OnCustomKeyProfileChanged();
            return 1;
        case kProfileMenu:
            ShowCustomKeyProfileMenu();
            return 1;
        case kPresetCombo:
            OnKeyPresetSelected();
            return 1;
        case kResetKey:
            ResetSelectedKey();
            return 1;
        case kResetLayer:
            ResetAllKeys();
            return 1;
        case kLayers:
            OnKeyLayerChanged(kLayers);
            return 1;
        case kTypeTab:
            BuildKeyValuePalette(static_cast<int>(value));
            return 1;
        case kKeyFunctions:
            AssignKeyFuncToKey();
            return 1;
        case kKeyValues:
            AssignPaletteValueToKey();
            return 1;
        default:
            return 0;
    }
}

void KeyboardDlg::OnKeyLayerChanged(unsigned selectorId)
{
    const auto* source = GetControlAs<MUI::KeyLayerCtrl>(selectorId);
    if (source == nullptr) return;
    const int layer = source->GetSelectKeyLayerID();
    page.currentFnLayer = layer;
    const unsigned other = selectorId == kLayers ? kAdvancedKeyLayers : kLayers;
    if (auto* selector = GetControlAs<MUI::KeyLayerCtrl>(other)) selector->SetSelectKeyLayer(layer);
    RefreshKeyAssignView();
}

void KeyboardDlg::RefreshKeyAssignView()
{
    const std::vector<MUI::KeyboardCtrl*> views = KeyViews();
    for (MUI::KeyboardCtrl* view : views) view->ResetTipKey();
    std::vector<KeyMacroRecord*> stored;
    KBDataBase::GetInstance().GetLayerKeyMacros(KeyPageProfile(), page.currentFnLayer.load(),
                                                stored);
    for (const KeyMacroRecord& row : TakeRecords(stored)) {
        const std::wstring caption = ShownCaption(row);
        for (MUI::KeyboardCtrl* view : views) {
            view->SetKeyItemInfo(row.key_code, caption, row.macro_type, caption);
        }
    }
    for (MUI::KeyboardCtrl* view : views) view->UpdateControl();
    RefreshAdvKeyList();
}

void KeyboardDlg::CreateDefaultKeyRows(int profile)
{
    KBDataBase& db = KBDataBase::GetInstance();
    if (keyPage.keyboard == nullptr || db.GetKeyMacroCount(profile) >= 1) return;
    std::vector<std::pair<int, std::wstring>> keys;
    for (const MUI::KeyItem& item : keyPage.keyboard->GetKeyItems()) {
        keys.emplace_back(item.code, item.name);
    }
    db.InsertKeyMacros(NewProfileKeyRows(db, profile, keys));
}

void KeyboardDlg::AssignKeyFuncToKey()
{
    if (keyPage.keyboard == nullptr || keyPage.keyFunctions == nullptr) return;
    const int key = keyPage.keyboard->GetCurrentKeyValue();
    const int profile = KeyPageProfile();
    if (key < 1 || profile <= 0) return;
    const int layer = page.currentFnLayer.load();
    KeyMacroRecord row = LoadKeyRow(profile, layer, key);
    if (!TakeKeyFunction(*keyPage.keyFunctions, row)) return;
    if (!ReleaseAdvancedKeyOf(profile, layer, key)) return;
    KBDataBase::GetInstance().UpdateKeyMacro(row);
    RefreshKeyAssignView();
    QueueCommand(QCMD_WRITE_KEYMAP);
}

void KeyboardDlg::AssignPaletteValueToKey()
{
    if (keyPage.keyboard == nullptr || keyPage.keyValues == nullptr || keyPage.typeTab == nullptr)
        return;
    const int key = keyPage.keyboard->GetCurrentKeyValue();
    const int profile = KeyPageProfile();
    if (key < 1 || profile <= 0) return;
    const int layer = page.currentFnLayer.load();
    KeyMacroRecord row = LoadKeyRow(profile, layer, key);
    const bool wasAdvanced = AdvTableBitOf(row.macro_type) != 0;
    if (!TakePaletteValue(keyPage.typeTab->GetCurTab(), *keyPage.keyValues, row)) return;
    row.macro_value2 = 0;
    row.macro_value3 = 0;
    if (!ReleaseAdvancedKeyOf(profile, layer, key)) return;
    KBDataBase::GetInstance().UpdateKeyMacro(row);
    if (wasAdvanced) {
        // The other keys of the advanced key changed too, and the list lost it.
        RefreshKeyAssignView();
    } else {
        keyPage.keyboard->SetKeyItemInfo(key, row.macro_desc, row.macro_type, row.macro_desc);
        keyPage.keyboard->UpdateControl();
    }
    QueueCommand(QCMD_WRITE_KEYMAP);
}

void KeyboardDlg::DropKeyFuncOnKey(LPARAM point)
{
    if (keyPage.keyboard == nullptr || keyPage.typeTab == nullptr ||
        keyPage.keyFunctions == nullptr || keyPage.keyValues == nullptr)
        return;
    // The point where the drag was let go, not where the cursor is by the time the posted drop
    // arrives.
    const POINT at = MUI::UnpackClientPoint(point);
    const int key = keyPage.keyboard->GetKeyCodeByPoint(at.x, at.y);
    const int profile = KeyPageProfile();
    if (key == 0 || profile <= 0) return;
    const int layer = page.currentFnLayer.load();
    KeyMacroRecord row = LoadKeyRow(profile, layer, key);
    const int tab = keyPage.typeTab->GetCurTab();
    const bool taken = tab == PALETTE_KEYS ? TakeKeyFunction(*keyPage.keyFunctions, row)
                                           : TakePaletteValue(tab, *keyPage.keyValues, row);
    if (!taken || row.macro_desc.empty()) return;
    if (!ReleaseAdvancedKeyOf(profile, layer, key)) return;
    KBDataBase::GetInstance().UpdateKeyMacro(row);
    QueueCommand(QCMD_WRITE_KEYMAP);
    RefreshKeyAssignView();
}
