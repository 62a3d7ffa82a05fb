// The default actions of a profile's keys, and putting one key of a layer back to its default
// in the database (with the other half of a two-key advanced key on the base layer).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "storage/KeyMacroRecord.h"

class KBDataBase;
struct AdvancedKeyRemoval;

// The fn_layer of profile 1 that holds the keyboard's own default of FN layer `layer` (1..7).
inline constexpr int kDeviceDefaultLayerOffset = 100;
// Layers of a profile: 0 the base layer, 1..8 the FN layers.
inline constexpr int kProfileLayerCount = 9;
// The profile that holds the keyboard's own FN-layer defaults.
inline constexpr int kDeviceDefaultsProfile = 1;

// row's action becomes the base-layer default of its key_code: the key itself with its name as
// caption; the FN key (255) gets the FN1 function with the same caption.
void SetBaseLayerDefault(KeyMacroRecord& row);

// True once the keyboard's own FN-layer defaults have been read and stored.
bool DeviceDefaultsStored(KBDataBase& db);

// row's action becomes its key's default on its layer: on the base layer as
// SetBaseLayerDefault; on an FN layer profile 1's device default of that layer, no action (the
// keyboard's empty entry) where the keyboard's defaults hold none for the key, or what a new
// profile's FN layers start with while no keyboard has been read. Nothing is written.
void SetLayerDefault(KBDataBase& db, KeyMacroRecord& row);

// The other key of an RS, SOCD or OKS row on key `keyCode`: key2 when keyCode is key1, key1
// when it is key2; 0 for other rows and for a key that is neither.
int PairedKey(const KeyMacroRecord& row, int keyCode);

// The rows a new profile starts with while no keyboard has been read, layer 0 first, keys in
// the order given (code, name): layer 0 the base-layer default with the key's own name, layers
// 1..8 the function 1 with an empty caption.
std::vector<KeyMacroRecord> DefaultKeyRows(int profile,
                                           const std::vector<std::pair<int, std::wstring>>& keys);

// The rows a new profile starts with: as DefaultKeyRows, with every FN-layer row given its
// layer's default (SetLayerDefault), so that the keyboard's own FN layers are kept once read.
std::vector<KeyMacroRecord> NewProfileKeyRows(
    KBDataBase& db, int profile, const std::vector<std::pair<int, std::wstring>>& keys);

// Once the keyboard's FN-layer defaults are stored: every profile whose FN layers still hold
// nothing but what a profile starts with while no keyboard has been read (profiles made before
// the first read) takes the keyboard's defaults there instead. The profiles changed.
std::vector<int> AdoptDeviceDefaults(KBDataBase& db);

// The key's row of the profile and layer given its layer's default (SetLayerDefault) and
// written; true when stored.
bool WriteLayerDefault(KBDataBase& db, int profile, int layer, int keyCode);

// Puts the key's row of the profile and layer back to its layer's default (SetLayerDefault)
// and writes it. An advanced key the row is bound to is removed whole first
// (RemoveAdvancedKey), what that changed added to `removal`. True when every row was stored.
bool ResetKeyRow(KBDataBase& db, int profile, int layer, int keyCode, AdvancedKeyRemoval& removal);
