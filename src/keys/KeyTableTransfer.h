// The key-table exchanges with the keyboard: reading its default and current key tables into
// the database, and writing a profile's key layer and advanced-key tables to it. Runs on the
// worker thread. Every operation returns true only when each of its exchanges passed.
#pragma once

#include <span>
#include <vector>

#include "device/KeyActionDecoder.h"
#include "device/KeyTableState.h"
#include "keys/KeyDefaults.h"
#include "storage/KeyMacroRecord.h"
#include "storage/MacroRecord.h"

class DeviceManager;
class KBDataBase;

// The keyboard's own default layers 1..7, kept in kDeviceDefaultsProfile's rows.
inline constexpr int kDeviceDefaultLayers = 7;
// The default table must name more keys than this before its other layers are read.
inline constexpr int kMinMappedKeys = 60;
inline constexpr int kReadKeyLayers = 8;

class KeyTableTransfer {
public:
    // texts: the captions of decoded actions that are named in the user's language.
    KeyTableTransfer(DeviceManager& device, KBDataBase& db, KeyTableState& state,
                     KeyActionTexts texts = {});

    // Reads layer 0 of the default table, rebuilds the key-index maps, stores the keyboard's
    // default layers 1..7 once (only when every chunk of them arrived), then reads the
    // current key table into keyPageProfile's rows. One batch. Without readKeyMap the current
    // table is not read: the rows are what the keyboard is to get, and every layer counts as
    // known.
    bool ReadDefaultKeyMap(int keyPageProfile, bool readKeyMap = true);
    // Layers 0..7 of the keyboard's key table into the profile's rows. A layer that did not
    // arrive whole stores nothing and is marked unread (KeyTableState::unreadLayers): no
    // write sends it until a later read gets it whole. Nothing for a profile below 1.
    bool ReadKeyMap(int profile);

    // The advanced tables of advancedProfile (its slots numbered once over all its layers),
    // then the key layer of profile, every layer asked for in the state's pending layers, and
    // every layer whose advanced keys point at another slot than after the last build. A
    // table is sent when the mask names it or its slots were numbered anew.
    bool WriteKeyMap(int profile, int layer, int advancedProfile);
    // The same, with the tables of that layer's advanced keys sent in any case.
    bool WriteLayerKeyMap(int profile, int layer, int advancedProfile);
    // The advanced tables of advancedProfile, then every key layer the keyboard keeps (0..7)
    // of profile: what makes the keyboard hold a whole profile.
    bool WriteProfileKeyMaps(int profile, int advancedProfile);
    bool WriteAdvancedKeys(int profile);
    // The keyboard holds what the rows of advancedProfile give (they were just read from it):
    // the slots they number become those of the last build, so that the next write knows
    // which layers a renumbering moves.
    void KeepSlotsOf(int advancedProfile);

    // The row's entry at keyIndex of table, with the current slots and key-index maps.
    void EncodeRow(std::span<uint8_t> table, int keyIndex, const KeyMacroRecord& row);

private:
    bool ReadDefaultLayerZero();
    bool StoreDeviceDefaults();
    bool WriteKeyLayer(int profile, int layer);
    // before: the slots of the last build, when the tables whose slots moved are to be sent.
    bool SendAdvancedTables(const std::vector<KeyMacroRecord>& rows,
                            const AdvancedSlotMaps* before);
    void EncodeRow(std::span<uint8_t> table, int keyIndex, const KeyMacroRecord& row,
                   const std::vector<MacroRecord>& macros);

    DeviceManager& device_;
    KBDataBase& db_;
    KeyTableState& state_;
    KeyActionTexts texts_;
};
