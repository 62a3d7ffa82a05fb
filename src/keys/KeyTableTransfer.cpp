#include "keys/KeyTableTransfer.h"

#include <algorithm>
#include <array>
#include <utility>

#include "device/DeviceManager.h"
#include "device/KeyActionEncoder.h"
#include "device/KeyLayerDecoder.h"
#include "device/KeyLayerRead.h"
#include "device/KeyMacroType.h"
#include "keys/KeyDefaults.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

// The work table of a key layer: more than the 512 bytes sent, so that every mapped key
// index has room.
constexpr size_t kWorkTableBytes = 866;
// More layers than a profile has (0..8): the bits of a layer set.
constexpr int kMaxLayers = 32;
// Bytes of the default cache that underlie layer 0.
constexpr size_t kLayerZeroBaseBytes = 768;

std::vector<KeyMacroRecord> LayerRows(KBDataBase& db, int profile, int layer)
{
    std::vector<KeyMacroRecord*> rows;
    db.GetLayerKeyMacros(profile, layer, rows);
    return TakeRecords(rows);
}

std::vector<MacroRecord> AllMacros(KBDataBase& db)
{
    std::vector<MacroRecord*> macros;
    db.GetMacros(macros);
    return TakeRecords(macros);
}

// Every macro's id in the database's order: the places the keyboard's macro memory gives them.
std::vector<int> MacroIds(KBDataBase& db)
{
    std::vector<int> ids;
    for (const MacroRecord& macro : AllMacros(db)) ids.push_back(macro.macro_id);
    return ids;
}

std::vector<KeyMacroRecord> ProfileRows(KBDataBase& db, int profile)
{
    std::vector<KeyMacroRecord*> rows;
    db.GetProfileKeyMacros(profile, rows);
    return TakeRecords(rows);
}

// The key layers (bits 0..7) holding an advanced key whose slot differs between the builds.
unsigned MovedLayers(const std::vector<KeyMacroRecord>& rows, const AdvancedSlotMaps& before,
                     const AdvancedSlotMaps& after)
{
    unsigned layers = 0;
    for (const KeyMacroRecord& row : rows) {
        if (AdvTableBitOf(row.macro_type) == 0 || row.fn_layer < 0 ||
            row.fn_layer >= kReadKeyLayers) {
            continue;
        }
        if (before.SlotOf(row) != after.SlotOf(row)) layers |= 1u << row.fn_layer;
    }
    return layers;
}

AdvancedKeySource DatabaseSource(KBDataBase& db)
{
    return {
        [&db](int macroId, MagneticKeyRecord& key) { return db.GetMagneticKey(macroId, key); },
        [&db](int macroId) {
            std::vector<KeyItemRecord*> items;
            db.GetKeyItems(macroId, items);
            return TakeRecords(items);
        },
    };
}

}  // namespace

KeyTableTransfer::KeyTableTransfer(DeviceManager& device, KBDataBase& db, KeyTableState& state,
                                   KeyActionTexts texts)
    : device_(device), db_(db), state_(state), texts_(std::move(texts))
{
}

bool KeyTableTransfer::ReadDefaultLayerZero()
{
    state_.defaultCache.fill(0);
    const KeyLayerRead read = ReadKeyLayer(device_, CMD_READ_DEFAULT_KEYMAP, 0);
    std::copy(read.bytes.begin(), read.bytes.end(), state_.defaultCache.begin());
    state_.defaultCacheComplete = read.Complete();
    return read.Complete();
}

bool KeyTableTransfer::ReadDefaultKeyMap(int keyPageProfile, bool readKeyMap)
{
    bool ok = device_.BeginBatch();
    state_.maps.Clear();
    // Until a layer is read whole, what the keyboard holds there is not known.
    state_.unreadLayers = (1u << kReadKeyLayers) - 1;
    ok = ReadDefaultLayerZero() && ok;
    BuildKeyIndexMaps(std::span<const uint8_t>(state_.defaultCache.data(), kKeyLayerBytes),
                      state_.maps);
    if (static_cast<int>(state_.maps.indexToCode.size()) > kMinMappedKeys) {
        ok = StoreDeviceDefaults() && ok;
        if (readKeyMap) {
            ok = ReadKeyMap(keyPageProfile) && ok;
        } else {
            state_.unreadLayers = 0;
        }
    }
    return device_.EndBatch() && ok;
}

bool KeyTableTransfer::StoreDeviceDefaults()
{
    std::vector<KeyMacroRecord*> stored;
    const int count =
        db_.GetLayerKeyMacros(kDeviceDefaultsProfile, kDeviceDefaultLayerOffset + 1, stored);
    TakeRecords(stored);
    if (count > 0) return true;

    // Stored once and never again: a layer with a missing chunk would stay incomplete, so
    // nothing is stored unless every layer arrived whole.
    std::array<std::vector<KeyMacroRecord>, kDeviceDefaultLayers> layers;
    const std::vector<int> macroIds = MacroIds(db_);
    for (int layer = 1; layer <= kDeviceDefaultLayers; ++layer) {
        const KeyLayerRead read = ReadKeyLayer(device_, CMD_READ_DEFAULT_KEYMAP, layer);
        if (!read.Complete()) return false;
        const int fnLayer = kDeviceDefaultLayerOffset + layer;
        layers[layer - 1] = DecodeKeyLayer(
            read, state_.maps.indexToCode,
            [fnLayer](int keyCode, KeyMacroRecord& row) {
                row.profile = kDeviceDefaultsProfile;
                row.fn_layer = fnLayer;
                row.key_code = keyCode;
                return true;
            },
            texts_, macroIds);
        // An empty entry is the keyboard's default too: the key's row holds no action, so that
        // a reset on this layer gives the key exactly what the keyboard holds.
        for (const auto& [index, code] : state_.maps.indexToCode) {
            if (index >= kDecodedKeyIndexes) break;
            if (code < 1 || read.Entry(index)[0] != 0) continue;
            KeyMacroRecord row;
            row.profile = kDeviceDefaultsProfile;
            row.fn_layer = fnLayer;
            row.key_code = code;
            layers[layer - 1].push_back(std::move(row));
        }
    }
    for (auto& rows : layers) {
        if (!rows.empty()) db_.InsertKeyMacros(std::move(rows));
    }
    AdoptDeviceDefaults(db_);
    return true;
}

bool KeyTableTransfer::ReadKeyMap(int profile)
{
    if (profile < 1) return false;
    bool ok = true;
    const std::vector<int> macroIds = MacroIds(db_);
    for (int layer = 0; layer < kReadKeyLayers; ++layer) {
        const KeyLayerRead read = ReadKeyLayer(device_, CMD_READ_KEYMAP, layer);
        const uint32_t bit = 1u << layer;
        if (!read.Complete()) {
            // Nothing of a layer read in part is stored: the rows of the missing keys would
            // keep values the keyboard does not hold, and the next write would send them.
            state_.unreadLayers |= bit;
            ok = false;
            continue;
        }
        state_.unreadLayers &= ~bit;
        std::vector<KeyMacroRecord> rows = DecodeKeyLayer(
            read, state_.maps.indexToCode,
            [&](int keyCode, KeyMacroRecord& row) {
                return db_.GetKeyMacro(profile, layer, keyCode, row);
            },
            texts_, macroIds);
        // On an FN layer read whole, an empty entry is what the keyboard holds there: the row
        // keeps no action, which is written back as the same empty entry. (On layer 0 the
        // default table underlies every key.)
        for (const auto& [index, code] : state_.maps.indexToCode) {
            if (layer == 0 || index >= kDecodedKeyIndexes) break;
            KeyMacroRecord row;
            if (code < 1 || read.Entry(index)[0] != 0 ||
                !db_.GetKeyMacro(profile, layer, code, row))
                continue;
            if (row.macro_type == KMT_NONE) continue;
            row.macro_type = KMT_NONE;
            row.macro_value = 0;
            row.macro_value2 = 0;
            row.macro_value3 = 0;
            row.macro_desc.clear();
            rows.push_back(std::move(row));
        }
        if (!rows.empty()) db_.UpdateKeyMacros(std::move(rows));
    }
    return ok;
}

bool KeyTableTransfer::WriteKeyMap(int profile, int layer, int advancedProfile)
{
    if (profile < 1 || advancedProfile < 1 || layer < 0 || layer >= kMaxLayers) {
        return false;
    }
    const std::vector<KeyMacroRecord> rows = ProfileRows(db_, advancedProfile);
    // What the keyboard's key layers point at: the slots of the last build. Before the first
    // build of this run the keyboard holds what the rows give.
    const AdvancedSlotMaps before = state_.slotMapsBuilt ? state_.slotMaps : AdvancedSlotMaps{};
    const bool built = state_.slotMapsBuilt;
    const bool advanced = SendAdvancedTables(rows, built ? &before : nullptr);

    unsigned layers = state_.pendingLayers.exchange(0) | (1u << layer);
    if (built) layers |= MovedLayers(rows, before, state_.slotMaps);
    bool ok = advanced;
    const int last = std::max(layer, kReadKeyLayers - 1);
    for (int other = 0; other <= last; ++other) {
        if ((layers & (1u << other)) == 0) continue;
        // A keyboard that went away fails every further layer at once; stop at the first.
        if (!WriteKeyLayer(profile, other)) return false;
    }
    return ok;
}

bool KeyTableTransfer::WriteLayerKeyMap(int profile, int layer, int advancedProfile)
{
    if (advancedProfile < 1) return false;
    // The tables this layer's advanced keys live in are sent again, beside those asked for.
    int mask = 0;
    for (const KeyMacroRecord& row : LayerRows(db_, advancedProfile, layer)) {
        mask |= AdvTableBitOf(row.macro_type);
    }
    state_.advTableMask |= mask;
    return WriteKeyMap(profile, layer, advancedProfile);
}

bool KeyTableTransfer::WriteProfileKeyMaps(int profile, int advancedProfile)
{
    bool ok = WriteAdvancedKeys(advancedProfile);
    state_.pendingLayers = 0;
    for (int layer = 0; layer < kReadKeyLayers; ++layer) {
        // A keyboard that went away fails every further layer at once; stop at the first.
        if (!WriteKeyLayer(profile, layer)) return false;
    }
    return ok;
}

bool KeyTableTransfer::WriteKeyLayer(int profile, int layer)
{
    // Without a profile the table would hold nothing but the defaults and wipe the keyboard's;
    // a layer that was not read whole is the keyboard's own until it is.
    if (profile < 1 || layer < 0 || state_.LayerUnread(layer)) return false;
    bool ok = device_.BeginBatch();
    if (state_.DefaultCacheEmpty()) ok = ReadDefaultLayerZero() && ok;

    std::array<uint8_t, kWorkTableBytes> table{};
    if (layer == 0) {
        std::copy_n(state_.defaultCache.begin(), kLayerZeroBaseBytes, table.begin());
    }
    const std::vector<KeyMacroRecord> rows = LayerRows(db_, profile, layer);
    const bool needsMacros = std::any_of(rows.begin(), rows.end(), [](const KeyMacroRecord& r) {
        return r.macro_type == KMT_MACRO;
    });
    const std::vector<MacroRecord> macros =
        needsMacros ? AllMacros(db_) : std::vector<MacroRecord>{};
    for (const KeyMacroRecord& row : rows) {
        if (row.macro_type == 0) continue;
        EncodeRow(table, state_.maps.IndexOf(row.key_code), row, macros);
    }

    // Layer 0 is built on the default table; keys of a part that did not arrive would be
    // sent as zeros, so such a layer is not sent.
    if (layer != 0 || !state_.DefaultCacheEmpty()) {
        ok = device_.WriteTable(CMD_WRITE_KEYMAP,
                                static_cast<uint16_t>(layer * static_cast<int>(kKeyLayerBytes)),
                                std::span<const uint8_t>(table.data(), kKeyLayerBytes)) &&
             ok;
    } else {
        ok = false;
    }
    return device_.EndBatch() && ok;
}

void KeyTableTransfer::EncodeRow(std::span<uint8_t> table, int keyIndex, const KeyMacroRecord& row)
{
    EncodeRow(table, keyIndex, row,
              row.macro_type == KMT_MACRO ? AllMacros(db_) : std::vector<MacroRecord>{});
}

void KeyTableTransfer::EncodeRow(std::span<uint8_t> table, int keyIndex, const KeyMacroRecord& row,
                                 const std::vector<MacroRecord>& macros)
{
    if (keyIndex < 0) return;
    const KeyEncodeContext context{state_.slotMaps, state_.maps.codeToIndex, macros};
    MagneticKeyRecord advanced;
    const bool haveAdvanced =
        row.macro_type == KMT_MT && db_.GetMagneticKey(row.macro_value, advanced);
    EncodeKeyAction(table, keyIndex, row, context, haveAdvanced ? &advanced : nullptr);
}

void KeyTableTransfer::KeepSlotsOf(int advancedProfile)
{
    if (advancedProfile < 1) return;
    state_.slotMaps =
        BuildAdvancedTables(ProfileRows(db_, advancedProfile), DatabaseSource(db_)).slotMaps;
    state_.slotMapsBuilt = true;
}

bool KeyTableTransfer::WriteAdvancedKeys(int profile)
{
    if (profile < 1) return false;
    return SendAdvancedTables(ProfileRows(db_, profile), nullptr);
}

bool KeyTableTransfer::SendAdvancedTables(const std::vector<KeyMacroRecord>& rows,
                                          const AdvancedSlotMaps* before)
{
    const AdvancedTables tables = BuildAdvancedTables(rows, DatabaseSource(db_));
    state_.slotMaps = tables.slotMaps;
    state_.slotMapsBuilt = true;
    // A table whose slots were numbered anew holds other keys at its slots now.
    int mask = state_.advTableMask.exchange(0);
    if (before != nullptr) {
        if (before->pair != tables.slotMaps.pair) mask |= ADV_TABLE_PAIR;
        if (before->toggle != tables.slotMaps.toggle) mask |= ADV_TABLE_TOGGLE;
        if (before->dks != tables.slotMaps.dks) mask |= ADV_TABLE_DKS;
    }
    if (tables.slotMaps.Empty()) return true;

    bool ok = device_.BeginBatch();
    if (!tables.slotMaps.pair.empty() && (mask & ADV_TABLE_PAIR) != 0) {
        ok = device_.WriteTable(CMD_WRITE_PAIR_KEY_TABLE, 0, tables.pair) && ok;
    }
    if (!tables.slotMaps.toggle.empty() && (mask & ADV_TABLE_TOGGLE) != 0) {
        ok = device_.WriteTable(CMD_WRITE_TOGGLE_TABLE, 0, tables.toggle) && ok;
    }
    if (!tables.slotMaps.dks.empty() && (mask & ADV_TABLE_DKS) != 0) {
        ok = device_.WriteTable(CMD_WRITE_DKS_TABLE, 0, tables.dks) && ok;
    }
    return device_.EndBatch() && ok;
}
