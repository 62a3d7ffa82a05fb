#include "device/AdvancedKeyTables.h"

#include <algorithm>

#include "device/DeviceKeyKind.h"
#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"

namespace {

bool IsModifierUsage(int usage) { return usage >= 0xE0 && usage <= 0xE7; }

void PutCode(uint8_t* at, const std::array<uint8_t, 3>& code) { std::copy_n(code.begin(), 3, at); }

void PutWord(uint8_t* at, int value)
{
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

void FillDksSlot(uint8_t* slot, const MagneticKeyRecord& key,
                 const std::vector<KeyItemRecord>& items)
{
    PutWord(slot, key.key1_value);
    PutWord(slot + 2, key.key2_value);
    const size_t count = std::min(items.size(), kDksSlotItems);
    for (size_t k = 0; k < count; ++k) {
        uint8_t* entry = slot + 4 + 5 * k;
        PutCode(entry, AdvancedKeyCode(items[k].key_value));
        PutWord(entry + 3, items[k].trigger_state1);
    }
}

void FillPairSlot(uint8_t* slot, const KeyMacroRecord& row, const MagneticKeyRecord& key)
{
    if (row.macro_type == KMT_MT) {
        PutCode(slot, AdvancedKeyCode(key.key1_value));
        PutCode(slot + 3, AdvancedKeyCode(key.key2_value));
        return;
    }
    PutCode(slot, AdvancedKeyCode(row.key_code));
    PutCode(slot + 3, AdvancedKeyCode(row.macro_value3));
    // One-key-swap keys carry their mode in place of the second code's kind.
    if (row.macro_type == KMT_OKS) slot[3] = static_cast<uint8_t>(key.key2_value & 0xFF);
}

// The slots of the table macroType lives in, of const or mutable maps.
template <typename Maps>
auto& TableIn(Maps& maps, int macroType)
{
    const int bit = AdvTableBitOf(macroType);
    return bit == ADV_TABLE_DKS ? maps.dks : bit == ADV_TABLE_TOGGLE ? maps.toggle : maps.pair;
}

}  // namespace

void AdvancedSlotMaps::Clear()
{
    dks.clear();
    toggle.clear();
    pair.clear();
}

AdvancedSlots& AdvancedSlotMaps::TableOf(int macroType) { return TableIn(*this, macroType); }

const AdvancedSlots& AdvancedSlotMaps::TableOf(int macroType) const
{
    return TableIn(*this, macroType);
}

int AdvancedSlotMaps::SlotOf(const KeyMacroRecord& row) const
{
    if (AdvTableBitOf(row.macro_type) == 0) return -1;
    const AdvancedSlots& slots = TableOf(row.macro_type);
    const auto found = slots.find({row.key_code, row.macro_value});
    return found == slots.end() ? -1 : found->second;
}

int AdvTableBitOf(int macroType)
{
    switch (macroType) {
        case KMT_DKS:
            return ADV_TABLE_DKS;
        case KMT_TGL:
            return ADV_TABLE_TOGGLE;
        case KMT_MT:
        case KMT_RS:
        case KMT_SOCD:
        case KMT_OKS:
            return ADV_TABLE_PAIR;
        default:
            return 0;
    }
}

std::array<uint8_t, 3> AdvancedKeyCode(int usage)
{
    if (IsModifierUsage(usage)) {
        const auto bit =
            static_cast<uint8_t>(KeyNameTable::GetInstance().ModifierUsageToBit(usage));
        return {KIND_KEY, bit, 0};
    }
    return {KIND_KEY, 0, static_cast<uint8_t>(usage & 0xFF)};
}

AdvancedTables BuildAdvancedTables(const std::vector<KeyMacroRecord>& rows,
                                   const AdvancedKeySource& source)
{
    AdvancedTables tables;
    for (const KeyMacroRecord& row : rows) {
        const int bit = AdvTableBitOf(row.macro_type);
        if (bit == 0) continue;
        AdvancedSlots& keySlots = tables.slotMaps.TableOf(row.macro_type);
        const int capacity = bit == ADV_TABLE_DKS      ? kDksSlots
                             : bit == ADV_TABLE_TOGGLE ? kToggleSlots
                                                       : kPairSlots;
        const AdvancedSlotKey owner{row.key_code, row.macro_value};
        if (keySlots.contains(owner)) continue;
        const int slot = static_cast<int>(keySlots.size());
        if (slot >= capacity) continue;  // no room: the key is left out of the tables
        keySlots[owner] = slot;

        MagneticKeyRecord key;
        if (!source.key || !source.key(row.macro_value, key) || key.macro_type != row.macro_type) {
            continue;
        }
        const auto n = static_cast<size_t>(slot);
        if (bit == ADV_TABLE_DKS) {
            const std::vector<KeyItemRecord> items =
                source.items ? source.items(key.macro_id) : std::vector<KeyItemRecord>{};
            FillDksSlot(tables.dks.data() + n * kDksSlotBytes, key, items);
        } else if (bit == ADV_TABLE_TOGGLE) {
            PutCode(tables.toggle.data() + n * kToggleSlotBytes, AdvancedKeyCode(key.key1_value));
        } else {
            FillPairSlot(tables.pair.data() + n * kPairSlotBytes, row, key);
        }
    }
    return tables;
}
