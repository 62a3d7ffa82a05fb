// The advanced-key page's bindings: a saved advanced key bound to its keys and sent, a deleted
// one unbound everywhere, and the list of the profile's advanced keys.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "device/AdvancedKeyTables.h"
#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"
#include "keys/AdvancedKeyBindings.h"
#include "keys/AdvancedKeyRemoval.h"
#include "keys/KeyDefaults.h"
#include "platform/mui/KeyDKSCtrlEx.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MText.h"
#include "platform/text/Parenthesized.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

std::wstring KeyName(int code) { return KeyNameTable::GetInstance().KeyUsageToName(code); }

int ConfigNumber(int profile, const wchar_t* name, int fallback)
{
    std::wstring text;
    if (!KBDataBase::GetInstance().GetConfig(profile, name, text)) return fallback;
    try {
        return std::stoi(text);
    } catch (...) {
        return fallback;
    }
}

// The list's mode text of a pair: which key the SOCD priority or the OKS stroke favours.
std::wstring PairModeText(const MagneticKeyRecord& key)
{
    const int mode = key.key1_value & 0x30;
    const auto pair = static_cast<uint32_t>(key.key_value);
    const std::wstring nameA = KeyName(static_cast<int>(pair & 0xFFFF));
    const std::wstring nameB = KeyName(static_cast<int>(pair >> 16));
    if (key.macro_type == KMT_SOCD) {
        const int texts[] = {770, 776, 780, 773};
        return GetLanString(texts[mode >> 4]);
    }
    if (key.macro_type == KMT_OKS) {
        if (mode == 0x10) return GetLanString(781);
        if (mode == 0x20) return Parenthesized(GetLanString(782), nameA);
        if (mode == 0x30) return Parenthesized(GetLanString(786), nameB);
    }
    return L"";
}

}  // namespace

int KeyboardDlg::RefreshAdvKeyOverview(int macroId)
{
    EnableAdvKeyControls(true);
    advKeyPage.armedType = 0;
    DestroyAdvKeyEditor();
    const int profile = AdvancedKeyPageProfile();
    if (profile < 1) return 0;
    KBDataBase& db = KBDataBase::GetInstance();
    if (macroId >= 1) {
        ClearAdvKeyChecks();
        MagneticKeyRecord key;
        AdvancedKeyBinding binding;
        if (db.GetMagneticKey(macroId, key)) {
            const int layer = page.currentFnLayer.load();
            binding = BindAdvancedKey(key, key.key_value, [&](int code) {
                KeyMacroRecord row;
                db.GetKeyMacro(profile, layer, code, row);
                row.profile = profile;
                row.fn_layer = layer;
                row.key_code = code;
                return row;
            });
        }
        // Combined with what is still waiting: two saves before the worker runs send both.
        keyTables.advTableMask |= binding.tableBit;
        if (MUI::KeyboardCtrl* view = perfPage.keyboard; view && !binding.perf.empty()) {
            for (const PairKeyPerf& perfOfKey : binding.perf) {
                MUI::KeyPerfInfo info;
                view->GetKeyPerfInfo(perfOfKey.code, info);
                info.mode = perfOfKey.mode;
                info.actuation = perfOfKey.actuation;
                info.press = perfOfKey.press;
                info.release = perfOfKey.release;
                view->SetKeyPerfInfo(perfOfKey.code, info);
            }
            SavePerfSettings();
        }
        db.UpdateKeyMacros(std::move(binding.rows));
    }
    QueueCommand(QCMD_WRITE_KEYMAP);
    RefreshKeyAssignView();
    ClearAdvKeyChecks();
    return 1;
}

int KeyboardDlg::DeleteAdvKey()
{
    const int profile = AdvancedKeyPageProfile();
    if (profile <= 0 || advKeyPage.list == nullptr) return 0;
    const int macroId = advKeyPage.list->GetSelectValue();
    if (macroId <= 0) return 0;
    KBDataBase& db = KBDataBase::GetInstance();
    // The key goes together with every binding of it: each bound key (and the other half of a
    // pair) gets its default back on the layer it was bound on.
    AdvancedKeyRemoval removal;
    if (!db.WriteTogether([&] { return RemoveAdvancedKey(db, profile, macroId, removal); })) {
        return 0;
    }
    advKeyPage.list->RemoveCurItem();
    TakeAdvancedKeyRemoval(removal);
    RefreshKeyAssignView();
    QueueCommand(QCMD_WRITE_LAYER_KEYMAP);
    return 1;
}

void KeyboardDlg::TakeAdvancedKeyRemoval(const AdvancedKeyRemoval& removal)
{
    if (!removal.pairKeys.empty()) ResetPairKeyPerf(removal.pairKeys);
    keyTables.advTableMask |= removal.tableBits;
    keyTables.pendingLayers |= removal.layers;
}

bool KeyboardDlg::ReleaseAdvancedKeyOf(int profile, int layer, int keyCode)
{
    KBDataBase& db = KBDataBase::GetInstance();
    AdvancedKeyRemoval removal;
    if (!db.WriteTogether(
            [&] { return ReleaseAdvancedKey(db, profile, layer, keyCode, removal); })) {
        return false;
    }
    TakeAdvancedKeyRemoval(removal);
    return true;
}

void KeyboardDlg::ResetPairKeyPerf(const std::vector<int>& codes)
{
    MUI::KeyboardCtrl* view = perfPage.keyboard;
    const int profile = PerfPageProfile();
    if (view == nullptr || profile <= 0) return;
    // The profile's own settings, as the performance page gives a plain key.
    const int mode = ConfigNumber(profile, L"perf_rapidtrigger_mode", 0) == 1 ? 1 : 0;
    const int actuation = ConfigNumber(profile, L"global_key_actuation", 75);
    const int press = ConfigNumber(profile, L"global_rt1_pos", 5);
    const int release = ConfigNumber(profile, L"global_rt2_pos", press);
    for (const int code : codes) {
        MUI::KeyPerfInfo info;
        if (code <= 0 || !view->GetKeyPerfInfo(code, info)) continue;
        info.mode = mode;
        info.actuation = actuation;
        info.press = press;
        info.release = release;
        view->SetKeyPerfInfo(code, info);
    }
    SavePerfSettings();
}

void KeyboardDlg::RefreshAdvKeyList()
{
    MUI::KeyDKSCtrlEx* list = advKeyPage.list;
    if (list == nullptr) return;
    const int selected = list->GetSelectValue();
    list->ClearItems();
    KBDataBase& db = KBDataBase::GetInstance();
    std::vector<KeyMacroRecord*> stored;
    db.GetLayerKeyMacros(AdvancedKeyPageProfile(), page.currentFnLayer.load(), stored);
    std::set<int> listed;
    for (const KeyMacroRecord& row : TakeRecords(stored)) {
        // A pair is bound on two keys and listed once.
        if (!IsAdvancedType(row.macro_type) || !listed.insert(row.macro_value).second) continue;
        MagneticKeyRecord key;
        if (!db.GetMagneticKey(row.macro_value, key)) continue;
        if (key.macro_type == KMT_DKS) {
            std::vector<KeyItemRecord*> items;
            db.GetKeyItems(key.macro_id, items);
            std::vector<std::wstring> names;
            for (const KeyItemRecord& item : TakeRecords(items)) names.push_back(item.key_name);
            list->AddItem(KeyName(key.key_value), key.macro_type, names, key.macro_id);
        } else if (key.macro_type == KMT_MT) {
            list->AddItem(KeyName(key.key_value), key.macro_type, {key.key1_name, key.key2_name},
                          key.macro_id);
        } else if (key.macro_type == KMT_TGL) {
            list->AddItem(KeyName(key.key_value), key.macro_type, {key.key1_name}, key.macro_id);
        } else if (IsPairType(key.macro_type)) {
            const auto pair = static_cast<uint32_t>(key.key_value);
            list->AddItem1(KeyName(static_cast<int>(pair >> 16)),
                           KeyName(static_cast<int>(pair & 0xFFFF)), key.macro_type,
                           PairModeText(key), key.macro_id);
        }
    }
    if (selected > 0) list->SetSelectValue(selected);
    if (advKeyPage.listCount != nullptr) {
        char count[16];
        std::snprintf(count, sizeof count, "%02d", list->GetItemCount());
        advKeyPage.listCount->SetTitle(
            std::wstring(count, count + std::char_traits<char>::length(count)));
    }
}
