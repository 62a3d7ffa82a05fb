// A keyboard table read in checked chunks, with the chunks that did not arrive: the bytes
// they cover hold zeros and must not be taken for the keyboard's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/DeviceReport.h"

class DeviceManager;

struct TableRead {
    // Whole chunks: the last chunk's REPORT_DATA_MAX answer bytes are kept too.
    std::vector<uint8_t> bytes;
    size_t length = 0;
    uint64_t failedChunks = 0;  // bit i: chunk i failed or was not asked for

    bool Complete() const { return failedChunks == 0; }
    // Whether every byte of [offset, offset + size) arrived.
    bool RangeArrived(size_t offset, size_t size) const;
};

// Each chunk is asked for at most this often.
inline constexpr int kChunkReadAttempts = 3;

// Reads length bytes (at most 64 chunks) of command's table from base. Without
// stopAtFailure every chunk is asked for even after a failed one, and, when some arrived, the
// chunks that failed are asked for again, up to kChunkReadAttempts times in all; with it, the
// read stops at the first failure.
TableRead ReadTableChunks(DeviceManager& device, DeviceCommand command, uint16_t base,
                          size_t length, bool stopAtFailure = false);
