#include "device/KeyLayerRead.h"

#include <algorithm>

#include "device/DeviceManager.h"
#include "device/TableRead.h"

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
    const TableRead table = ReadTableChunks(
        device, command, static_cast<uint16_t>(layer * kKeyLayerBytes), kKeyLayerBytes);
    KeyLayerRead read;
    // A failed chunk reads as zeros.
    std::copy_n(table.bytes.begin(), std::min(table.bytes.size(), read.bytes.size()),
                read.bytes.begin());
    read.failedChunks = static_cast<uint32_t>(table.failedChunks);
    return read;
}
