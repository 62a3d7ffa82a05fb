#include "device/TableRead.h"

#include <algorithm>
#include <span>

#include "device/DeviceManager.h"

bool TableRead::RangeArrived(size_t offset, size_t size) const
{
    if (size == 0) return true;
    if (offset + size > length) return false;
    for (size_t chunk = offset / REPORT_DATA_MAX; chunk <= (offset + size - 1) / REPORT_DATA_MAX;
         ++chunk) {
        if ((failedChunks & (uint64_t{1} << chunk)) != 0) return false;
    }
    return true;
}

TableRead ReadTableChunks(DeviceManager& device, DeviceCommand command, uint16_t base,
                          size_t length, bool stopAtFailure)
{
    TableRead read;
    const size_t chunks = std::min<size_t>(DeviceManager::ChunkCount(length), 64);
    read.length = std::min(length, chunks * REPORT_DATA_MAX);
    read.bytes.assign(chunks * REPORT_DATA_MAX, 0);
    // Reads chunk i into its place; a failed one reads as zeros.
    const auto readChunk = [&](size_t i) {
        const size_t offset = i * REPORT_DATA_MAX;
        const size_t size = std::min(REPORT_DATA_MAX, read.length - offset);
        std::span<uint8_t, REPORT_DATA_MAX> chunk(read.bytes.data() + offset, REPORT_DATA_MAX);
        if (device.ReadChunk(command, static_cast<uint16_t>(base + offset), size, chunk)) {
            return true;
        }
        std::fill(chunk.begin(), chunk.end(), 0);
        return false;
    };
    for (size_t i = 0; i < chunks; ++i) {
        if (readChunk(i)) continue;
        if (stopAtFailure) {
            for (size_t rest = i; rest < chunks; ++rest) read.failedChunks |= uint64_t{1} << rest;
            return read;
        }
        read.failedChunks |= uint64_t{1} << i;
    }
    // An answer lost now and then is asked for again: a table is taken only whole. A keyboard
    // that answered none is not asked again (it would only fail as slowly once more).
    const uint64_t all = chunks == 64 ? ~uint64_t{0} : (uint64_t{1} << chunks) - 1;
    for (int pass = 1;
         pass < kChunkReadAttempts && read.failedChunks != 0 && read.failedChunks != all; ++pass) {
        for (size_t i = 0; i < chunks; ++i) {
            const uint64_t bit = uint64_t{1} << i;
            if ((read.failedChunks & bit) != 0 && readChunk(i)) read.failedChunks &= ~bit;
        }
    }
    return read;
}
