// Key rows from one layer of a key table read from the keyboard.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "device/KeyActionDecoder.h"
#include "device/KeyLayerRead.h"
#include "storage/KeyMacroRecord.h"

// Key indexes whose entries become rows.
inline constexpr int kDecodedKeyIndexes = 128;

// For every key index 0..127 that has a key code, whose entry arrived and has a non-zero
// kind: loadRow gives the row to decode into (false: the key is skipped), the entry is
// decoded into it with texts and macroIds (see DecodeDeviceKeyCode), and the row is kept when
// the decoder accepts the entry.
std::vector<KeyMacroRecord> DecodeKeyLayer(
    const KeyLayerRead& layer, const std::map<int, int>& indexToCode,
    const std::function<bool(int keyCode, KeyMacroRecord& row)>& loadRow,
    const KeyActionTexts& texts, std::span<const int> macroIds);
