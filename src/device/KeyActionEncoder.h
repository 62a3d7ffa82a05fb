// A key row's action as the 3-byte entry (kind, value low, value high) of a key table.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "device/AdvancedKeyTables.h"
#include "storage/KeyMacroRecord.h"
#include "storage/MacroRecord.h"
#include "storage/MagneticKeyRecord.h"

// What an entry may point at besides the row itself.
struct KeyEncodeContext {
    const AdvancedSlotMaps& slotMaps;
    const std::map<int, int>& codeToIndex;
    // Every macro in the database's order: a macro key is sent as its position here.
    const std::vector<MacroRecord>& macros;
};

// Writes the entry of row at keyIndex x 3 of table. Types without an encoding, a macro that
// does not exist, an advanced key without a slot and an index outside the table leave the
// bytes as they were. advancedKey is the row's advanced key when the caller loaded it (the
// hold time of a mod-tap key comes from it), else null.
void EncodeKeyAction(std::span<uint8_t> table, int keyIndex, const KeyMacroRecord& row,
                     const KeyEncodeContext& context,
                     const MagneticKeyRecord* advancedKey = nullptr);
