// The typing layouts the key page can lay over a layer: every key back to its own code, then
// optionally a remapping of the US QWERTY positions (Mac modifiers, Dvorak, Colemak, Workman).
#pragma once

#include <string>

#include "storage/KeyMacroRecord.h"

class KBDataBase;

// Item data of the preset combo box and value of "key_profile_preset".
enum KeyLayoutPreset : int {
    PRESET_STANDARD = 202,
    PRESET_MAC_SWAP = 203,
    PRESET_STANDARD_ALT = 204,  // an older id of the standard layout, applied as standard
    PRESET_DVORAK = 205,
    PRESET_COLEMAK = 206,
    PRESET_WORKMAN = 207,
};

bool IsKeyLayoutPreset(int presetId);

// The usage the preset gives the key at a US QWERTY position; the key's own code when the
// preset leaves it. caption, when given, receives the preset's own caption for it (empty:
// the usage's name).
int PresetKeyUsage(int presetId, int keyCode, std::wstring* caption = nullptr);

// Rewrites row's action as the preset lays it out and returns true. A key's added modifier
// (macro_value2 and macro_value3 of a plain key) is kept; the values of any other action are
// cleared, as they mean nothing to a plain key. Macro and advanced keys are the user's own
// bindings, which a typing layout has no say over: they are left as they are (false), so
// that no advanced key loses its keys and records by a layout change.
bool ApplyKeyPresetToRow(int presetId, KeyMacroRecord& row);

// The preset on every row of the profile's layer, one update per key rewritten, all in one
// transaction; the number of rows written (0 when the profile is not positive, the layer has
// no rows, the id is no preset, or a write failed: nothing is kept then).
int ApplyKeyPreset(KBDataBase& db, int presetId, int profile, int layer);
