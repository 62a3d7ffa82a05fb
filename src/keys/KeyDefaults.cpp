#include "keys/KeyDefaults.h"

#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"
#include "keys/AdvancedKeyRemoval.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

// What the keys of a new profile's FN layers start with.
constexpr int kFnLayerDefaultFunction = 1;

}  // namespace

void SetBaseLayerDefault(KeyMacroRecord& row)
{
    const bool fnKey = row.key_code == kFnKeyCode;
    row.macro_type = fnKey ? KMT_FUNCTION : KMT_KEY;
    row.macro_value = fnKey ? FUNC_FN1 : row.key_code;
    row.macro_value2 = 0;
    row.macro_value3 = 0;
    row.macro_desc = KeyNameTable::GetInstance().KeyUsageToName(row.key_code);
}

bool DeviceDefaultsStored(KBDataBase& db)
{
    std::vector<KeyMacroRecord*> stored;
    const int count =
        db.GetLayerKeyMacros(kDeviceDefaultsProfile, kDeviceDefaultLayerOffset + 1, stored);
    TakeRecords(stored);
    return count > 0;
}

void SetLayerDefault(KBDataBase& db, KeyMacroRecord& row)
{
    if (row.fn_layer == 0) {
        SetBaseLayerDefault(row);
        return;
    }
    KeyMacroRecord device;
    // A macro key among the keyboard's defaults is no default a macro key can fall back to.
    if (db.GetKeyMacro(kDeviceDefaultsProfile, row.fn_layer + kDeviceDefaultLayerOffset,
                       row.key_code, device) &&
        device.macro_type != KMT_MACRO) {
        row.macro_type = device.macro_type;
        row.macro_value = device.macro_value;
        row.macro_value2 = device.macro_value2;
        row.macro_value3 = device.macro_value3;
        row.macro_desc = device.macro_desc;
        return;
    }
    const bool read = DeviceDefaultsStored(db);
    row.macro_type = read ? KMT_NONE : KMT_FUNCTION;
    row.macro_value = read ? 0 : kFnLayerDefaultFunction;
    row.macro_value2 = 0;
    row.macro_value3 = 0;
    row.macro_desc.clear();
}

int PairedKey(const KeyMacroRecord& row, int keyCode)
{
    if (row.macro_type != KMT_RS && row.macro_type != KMT_SOCD && row.macro_type != KMT_OKS) {
        return 0;
    }
    const auto pair = static_cast<uint32_t>(row.macro_value2);
    const int key1 = static_cast<int>(pair & 0xFFFF);
    const int key2 = static_cast<int>(pair >> 16);
    if (keyCode == key1) return key2;
    if (keyCode == key2) return key1;
    return 0;
}

std::vector<KeyMacroRecord> DefaultKeyRows(int profile,
                                           const std::vector<std::pair<int, std::wstring>>& keys)
{
    std::vector<KeyMacroRecord> rows;
    rows.reserve(keys.size() * kProfileLayerCount);
    for (int layer = 0; layer < kProfileLayerCount; ++layer) {
        for (const auto& [code, name] : keys) {
            KeyMacroRecord row;
            row.profile = profile;
            row.fn_layer = layer;
            row.key_code = code;
            if (layer == 0) {
                // The FN key keeps its FN1 function: as a plain key it would send usage 255
                // and leave the FN layers out of reach.
                row.macro_type = code == kFnKeyCode ? KMT_FUNCTION : KMT_KEY;
                row.macro_value = code == kFnKeyCode ? FUNC_FN1 : code;
                row.macro_desc = name;
            } else {
                row.macro_type = KMT_FUNCTION;
                row.macro_value = kFnLayerDefaultFunction;
            }
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::vector<KeyMacroRecord> NewProfileKeyRows(KBDataBase& db, int profile,
                                              const std::vector<std::pair<int, std::wstring>>& keys)
{
    std::vector<KeyMacroRecord> rows = DefaultKeyRows(profile, keys);
    if (!DeviceDefaultsStored(db)) return rows;
    for (KeyMacroRecord& row : rows) {
        if (row.fn_layer > 0) SetLayerDefault(db, row);
    }
    return rows;
}

std::vector<int> AdoptDeviceDefaults(KBDataBase& db)
{
    std::vector<int> changed;
    if (!DeviceDefaultsStored(db)) return changed;
    std::vector<ProfileRecord*> profiles;
    db.GetProfiles(profiles);
    for (const ProfileRecord& profile : TakeRecords(profiles)) {
        std::vector<KeyMacroRecord*> stored;
        db.GetProfileKeyMacros(profile.profile, stored);
        std::vector<KeyMacroRecord> rows;
        bool untouched = true;
        for (KeyMacroRecord& row : TakeRecords(stored)) {
            if (row.fn_layer < 1 || row.fn_layer >= kProfileLayerCount) continue;
            if (row.macro_type != KMT_FUNCTION || row.macro_value != kFnLayerDefaultFunction ||
                !row.macro_desc.empty()) {
                untouched = false;
                break;
            }
            rows.push_back(std::move(row));
        }
        if (!untouched || rows.empty()) continue;
        for (KeyMacroRecord& row : rows) SetLayerDefault(db, row);
        db.UpdateKeyMacros(std::move(rows));
        changed.push_back(profile.profile);
    }
    return changed;
}

bool ResetKeyRow(KBDataBase& db, int profile, int layer, int keyCode, AdvancedKeyRemoval& removal)
{
    return ReleaseAdvancedKey(db, profile, layer, keyCode, removal) &&
           WriteLayerDefault(db, profile, layer, keyCode);
}

bool WriteLayerDefault(KBDataBase& db, int profile, int layer, int keyCode)
{
    KeyMacroRecord row;
    db.GetKeyMacro(profile, layer, keyCode, row);
    row.profile = profile;
    row.fn_layer = layer;
    row.key_code = keyCode;
    SetLayerDefault(db, row);
    return db.UpdateKeyMacro(row);
}
