// One layer of a key table as read from the keyboard in checked chunks, with the chunks that
// did not arrive: the entries they touch hold zeros and must not be taken for the keyboard's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/DeviceReport.h"
#include "device/TableChunks.h"

class DeviceManager;

inline constexpr size_t kKeyLayerBytes = TableBytes(CMD_READ_KEYMAP);
inline constexpr size_t kKeyLayerChunks = TableChunkCount(kKeyLayerBytes);
// Whole chunks: the last chunk's 56 answer bytes are kept too.
inline constexpr size_t kKeyLayerReadBytes = kKeyLayerChunks * REPORT_DATA_MAX;

struct KeyLayerRead {
    std::array<uint8_t, kKeyLayerReadBytes> bytes{};
    uint32_t failedChunks = 0;  // bit i: chunk i failed

    bool Complete() const { return failedChunks == 0; }
    // Whether all 3 bytes of the key index's entry arrived.
    bool EntryArrived(int keyIndex) const;
    const uint8_t* Entry(int keyIndex) const { return bytes.data() + keyIndex * 3; }
};

// Reads layer (base layer x 512) with command in checked chunks; every chunk is asked for
// even after a failed one, and failed ones again (ReadTableChunks).
KeyLayerRead ReadKeyLayer(DeviceManager& device, DeviceCommand command, int layer);
