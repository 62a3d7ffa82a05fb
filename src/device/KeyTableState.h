// What the main window keeps for the key-table codecs: the keyboard's layer-0 default table,
// the key-index maps built from it, the advanced-key slots of the last advanced-table build,
// and what the next key-table write sends beside the shown layer: the advanced tables of the
// mask and the pending layers.
//
// The worker reads and writes all of it; the mask is also set from the UI thread.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "device/AdvancedKeyTables.h"
#include "device/KeyIndexMaps.h"

inline constexpr size_t kDefaultKeyCacheBytes = 800;

struct KeyTableState {
    // The first 512 bytes hold layer 0 of the default table.
    std::array<uint8_t, kDefaultKeyCacheBytes> defaultCache{};
    // False when a chunk of the last default-table read did not arrive.
    bool defaultCacheComplete = false;
    KeyIndexMaps maps;
    AdvancedSlotMaps slotMaps;
    // False until slotMaps were built in this run.
    bool slotMapsBuilt = false;
    // AdvTableBit values.
    std::atomic<int> advTableMask{0};
    // Bit L: layer L of the keyboard's key table was not read whole by the last read, so the
    // database does not know what the keyboard holds there, and the layer is not written.
    std::atomic<uint32_t> unreadLayers{0};

    bool LayerUnread(int layer) const
    {
        return layer >= 0 && layer < 32 && (unreadLayers.load() & (1u << layer)) != 0;
    }
    // Key layers (bit L for layer L) the next key-table write sends beside the shown one.
    std::atomic<unsigned> pendingLayers{0};

    // Empty: the default table must be read (again) before it can underlie layer 0.
    bool DefaultCacheEmpty() const
    {
        return !defaultCacheComplete ||
               (defaultCache[0] == 0 && defaultCache[1] == 0 && defaultCache[2] == 0);
    }
};
