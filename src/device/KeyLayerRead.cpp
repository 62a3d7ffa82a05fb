#include "device/KeyLayerRead.h"

#include <algorithm>
#include <span>

#include "device/DeviceManager.h"

bool KeyLayerRead::EntryArrived(int keyIndex) const
{
    if (keyIndex < 0) return false;
    const size_t first = static_cast<size_t>(keyIndex) * 3;
    if (first + 3 > kKeyLayerBytes) return false;
    const size_t chunkA = first / REPORT_DATA_MAX;
    const size_t chunkB = (first + 2) / REPORT_DATA_MAX;
    return (failedChunks & (1u << chunkA)) == 0 && (failedChunks & (1u << chunkB)) == 0;
}

KeyLayerRead ReadKeyLayer(DeviceManager& device, DeviceCommand command, int layer)
{
    KeyLayerRead read;
    for (size_t i = 0; i < kKeyLayerChunks; ++i) {
        const size_t offset = i * REPORT_DATA_MAX;
        const size_t size = std::min(REPORT_DATA_MAX, kKeyLayerBytes - offset);
        const auto address = static_cast<uint16_t>(layer * kKeyLayerBytes + offset);
        std::span<uint8_t, REPORT_DATA_MAX> chunk(read.bytes.data() + offset, REPORT_DATA_MAX);
        // A failed chunk reads as zeros.
        if (!device.ReadChunk(command, address, size, chunk)) read.failedChunks |= 1u << i;
    }
    return read;
}
