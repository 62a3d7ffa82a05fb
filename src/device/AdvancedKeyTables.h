// The keyboard's three advanced-key tables (DKS, pair, toggle), built from a profile's key rows.
// Each advanced key a key code holds gets one slot in the table of its kind; the key's entry in
// a key table points at that slot.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "device/TableChunks.h"
#include "storage/KeyItemRecord.h"
#include "storage/KeyMacroRecord.h"
#include "storage/MagneticKeyRecord.h"

// Bits of the advanced-table mask: the tables the next key-table write sends.
enum AdvTableBit : int {
    ADV_TABLE_DKS = 0x01,
    ADV_TABLE_PAIR = 0x02,
    ADV_TABLE_TOGGLE = 0x04,
};

inline constexpr size_t kDksTableBytes = TableBytes(CMD_WRITE_DKS_TABLE);
inline constexpr size_t kPairTableBytes = TableBytes(CMD_WRITE_PAIR_KEY_TABLE);
inline constexpr size_t kToggleTableBytes = TableBytes(CMD_WRITE_TOGGLE_TABLE);
inline constexpr size_t kDksSlotBytes = 24;
inline constexpr size_t kPairSlotBytes = 6;
inline constexpr size_t kToggleSlotBytes = 3;
// Whole slots each table holds; further advanced keys get no slot and are not sent.
inline constexpr int kDksSlots = kDksTableBytes / kDksSlotBytes;           // 32
inline constexpr int kPairSlots = kPairTableBytes / kPairSlotBytes;        // 42
inline constexpr int kToggleSlots = kToggleTableBytes / kToggleSlotBytes;  // 42
// Key items a DKS slot carries; further items of a DKS key are not sent.
inline constexpr size_t kDksSlotItems = 4;

// What a slot belongs to: a key code and the advanced key (macro_value of its row) it holds.
// One key holding different advanced keys on different layers has a slot for each.
struct AdvancedSlotKey {
    int keyCode = 0;
    int macroId = 0;

    auto operator<=>(const AdvancedSlotKey&) const = default;
};

using AdvancedSlots = std::map<AdvancedSlotKey, int>;

// Slot numbers, per table.
struct AdvancedSlotMaps {
    AdvancedSlots dks;
    AdvancedSlots toggle;
    AdvancedSlots pair;  // MT, RS, SOCD and OKS

    void Clear();
    bool Empty() const { return dks.empty() && toggle.empty() && pair.empty(); }
    // The slots of the table an advanced macro_type lives in (the pair table for others).
    AdvancedSlots& TableOf(int macroType);
    const AdvancedSlots& TableOf(int macroType) const;
    // The slot an advanced row's entry points at; -1 for none.
    int SlotOf(const KeyMacroRecord& row) const;
};

struct AdvancedTables {
    AdvancedSlotMaps slotMaps;
    std::array<uint8_t, kDksTableBytes> dks{};
    std::array<uint8_t, kPairTableBytes> pair{};
    std::array<uint8_t, kToggleTableBytes> toggle{};
};

// Where the advanced keys and their items come from (the database, in the program).
struct AdvancedKeySource {
    std::function<bool(int macroId, MagneticKeyRecord& key)> key;
    std::function<std::vector<KeyItemRecord>(int macroId)> items;
};

// The mask bit of the table an advanced macro_type lives in; 0 for other types.
int AdvTableBitOf(int macroType);

// The 3-byte code of a key usage in the advanced tables: 10 00 usage, or 10 bit 00 for the
// modifier usages 0xE0..0xE7.
std::array<uint8_t, 3> AdvancedKeyCode(int usage);

// Numbers the advanced rows (types 14..19, in the order given) per table and fills each slot
// from the row's advanced key when that key has the row's type; a slot of a key of another
// type stays zero but keeps its number.
AdvancedTables BuildAdvancedTables(const std::vector<KeyMacroRecord>& rows,
                                   const AdvancedKeySource& source);
