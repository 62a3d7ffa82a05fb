#include "device/KeyActionEncoder.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "device/DeviceKeyKind.h"
#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"
#include "device/MacroImage.h"

namespace {

using Entry = std::array<uint8_t, 3>;

uint8_t Low(int value) { return static_cast<uint8_t>(value & 0xFF); }
uint8_t High(int value) { return static_cast<uint8_t>((value >> 8) & 0xFF); }

Entry KeyEntry(const KeyMacroRecord& row)
{
    const KeyNameTable& names = KeyNameTable::GetInstance();
    if (row.macro_value2 == 0 && row.macro_value >= 0xE0 && row.macro_value <= 0xE7) {
        return {KIND_KEY, Low(names.ModifierUsageToBit(row.macro_value)), 0};
    }
    return {KIND_KEY, Low(names.ModifierUsageToBit(row.macro_value2)), Low(row.macro_value)};
}

Entry MouseEntry(int action)
{
    switch (action) {
        case MOUSE_LEFT:
            return {KIND_MOUSE, 0x01, 0x00};
        case MOUSE_MIDDLE:
            return {KIND_MOUSE, 0x04, 0x00};
        case MOUSE_RIGHT:
            return {KIND_MOUSE, 0x02, 0x00};
        case MOUSE_DOUBLE_CLICK:
            return {KIND_MOUSE, 0x01, 0x01};
        case MOUSE_WHEEL_UP:
            return {KIND_WHEEL, 0x00, 0x01};
        case MOUSE_WHEEL_DOWN:
            return {KIND_WHEEL, 0x00, 0xFF};
        case MOUSE_BUTTON5:
            return {KIND_MOUSE, 0x10, 0x00};
        case MOUSE_BUTTON4:
            return {KIND_MOUSE, 0x08, 0x00};
        default:
            return {KIND_MOUSE, 0x00, 0x00};
    }
}

}  // namespace

void EncodeKeyAction(std::span<uint8_t> table, int keyIndex, const KeyMacroRecord& row,
                     const KeyEncodeContext& context, const MagneticKeyRecord* advancedKey)
{
    if (keyIndex < 0 || static_cast<size_t>(keyIndex) * 3 + 3 > table.size()) return;
    uint8_t* at = table.data() + static_cast<size_t>(keyIndex) * 3;
    auto put = [at](const Entry& entry) { std::copy(entry.begin(), entry.end(), at); };

    switch (row.macro_type) {
        case KMT_DISABLED:
            put({KIND_KEY, 0, 0});
            return;
        case KMT_KEY:
            put(KeyEntry(row));
            return;
        case KMT_MACRO: {
            const auto& macros = context.macros;
            const auto found =
                std::find_if(macros.begin(), macros.end(),
                             [&](const MacroRecord& m) { return m.macro_id == row.macro_value; });
            // A macro past the keyboard's macro memory has no place the key could name.
            if (found == macros.end() || found - macros.begin() >= kMacroImageMacros) return;
            put({KIND_MACRO, Low(static_cast<int>(found - macros.begin())),
                 Low(found->link_count)});
            return;
        }
        case KMT_MOUSE:
            put(MouseEntry(row.macro_value));
            return;
        case KMT_CONSUMER:
            put({KIND_CONSUMER, Low(row.macro_value), High(row.macro_value)});
            return;
        case KMT_FUNCTION:
            put({KIND_FUNCTION, Low(row.macro_value), High(row.macro_value)});
            return;
        default:
            break;
    }

    // Advanced keys point at their slot; without one the entry is not touched, as a kind
    // byte alone would point the key at another key's slot.
    const int slot = context.slotMaps.SlotOf(row);
    if (slot < 0) return;
    switch (row.macro_type) {
        case KMT_DKS:
            put({KIND_DKS, Low(slot), at[2]});
            return;
        case KMT_TGL:
            put({KIND_TGL, Low(slot), at[2]});
            return;
        case KMT_MT: {
            uint8_t hold = at[2];
            if (advancedKey != nullptr && advancedKey->macro_type == KMT_MT) {
                hold = static_cast<uint8_t>(std::clamp(advancedKey->reserved / 10, 0, 0xFF));
            }
            put({KIND_MT, Low(slot), hold});
            return;
        }
        default: {
            const auto partner = context.codeToIndex.find(row.macro_value3);
            // A partner outside the layout gets an index no key has.
            const uint8_t partnerIndex =
                partner == context.codeToIndex.end() ? 0xFF : Low(partner->second);
            const uint8_t kind = row.macro_type == KMT_RS     ? KIND_RS
                                 : row.macro_type == KMT_SOCD ? KIND_SOCD
                                                              : KIND_OKS;
            put({kind, Low(slot), partnerIndex});
            return;
        }
    }
}
