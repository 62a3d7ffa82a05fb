#include "keys/AdvancedKeyRemoval.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "device/AdvancedKeyTables.h"
#include "device/KeyMacroType.h"
#include "keys/KeyDefaults.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

// The two keys of a pair packed as key2 << 16 | key1.
std::pair<int, int> PairKeys(int packed)
{
    const auto pair = static_cast<uint32_t>(packed);
    return {static_cast<int>(pair & 0xFFFF), static_cast<int>(pair >> 16)};
}

}  // namespace

bool RemoveAdvancedKey(KBDataBase& db, int profile, int macroId, AdvancedKeyRemoval& removal)
{
    MagneticKeyRecord key;
    const bool known = db.GetMagneticKey(macroId, key);
    std::vector<KeyMacroRecord*> stored;
    db.GetProfileKeyMacros(profile, stored);
    const std::vector<KeyMacroRecord> rows = TakeRecords(stored);

    // (layer, key code) of every row to give its default.
    std::set<std::pair<int, int>> targets;
    std::set<int> pairKeys;
    for (const KeyMacroRecord& row : rows) {
        if (!IsAdvancedType(row.macro_type) || row.macro_value != macroId ||
            row.fn_layer >= kDeviceDefaultLayerOffset) {
            continue;
        }
        targets.emplace(row.fn_layer, row.key_code);
        removal.tableBits |= AdvTableBitOf(row.macro_type);
        const int partner = PairedKey(row, row.key_code);
        if (partner <= 0) continue;
        pairKeys.insert(row.key_code);
        pairKeys.insert(partner);
        // The half an OKS left unbound holds no action of its own; one given another action
        // since keeps it.
        const auto other = std::find_if(rows.begin(), rows.end(), [&](const auto& r) {
            return r.fn_layer == row.fn_layer && r.key_code == partner;
        });
        if (other != rows.end() && other->macro_type == KMT_NONE) {
            targets.emplace(row.fn_layer, partner);
        }
    }
    if (known) {
        removal.tableBits |= AdvTableBitOf(key.macro_type);
        if (IsPairType(key.macro_type)) {
            const auto [key1, key2] = PairKeys(key.key_value);
            for (const int half : {key1, key2}) {
                if (half > 0) pairKeys.insert(half);
            }
        }
    }
    if (!db.DeleteMagneticKey(macroId)) return false;
    for (const auto& [layer, code] : targets) {
        if (!WriteLayerDefault(db, profile, layer, code)) return false;
        if (layer >= 0 && layer < 32) removal.layers |= 1u << layer;
    }
    for (const int code : pairKeys) {
        if (std::find(removal.pairKeys.begin(), removal.pairKeys.end(), code) ==
            removal.pairKeys.end())
            removal.pairKeys.push_back(code);
    }
    return true;
}

bool ReleaseAdvancedKey(KBDataBase& db, int profile, int layer, int keyCode,
                        AdvancedKeyRemoval& removal)
{
    KeyMacroRecord row;
    if (!db.GetKeyMacro(profile, layer, keyCode, row) || !IsAdvancedType(row.macro_type)) {
        return true;
    }
    return RemoveAdvancedKey(db, profile, row.macro_value, removal);
}
