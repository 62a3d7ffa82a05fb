// Tables cut into chunks of REPORT_DATA_MAX bytes, and the batch markers around them.
#include <algorithm>

#include "device/DeviceManager.h"
#include "device/TableChunks.h"

size_t DeviceManager::ChunkCount(size_t length) { return TableChunkCount(length); }

bool DeviceManager::SendSimpleCommand(DeviceCommand command)
{
    DeviceReport request = DeviceReport::Request(command);
    return SendCommand(request);
}

bool DeviceManager::BeginBatch()
{
    const bool sent = !stopping_;
    {
        // Counted as gone out once asked for: the keyboard may have taken a request whose
        // answer was lost.
        std::lock_guard lock(batchMutex_);
        batches_.push_back(sent);
    }
    // A batch refused is a write that does not reach the keyboard.
    if (!sent) ++failedExchanges_;
    return sent && SendSimpleCommand(CMD_BEGIN_BATCH);
}

bool DeviceManager::EndBatch()
{
    {
        std::lock_guard lock(batchMutex_);
        if (!batches_.empty()) {
            const bool begun = batches_.back();
            batches_.pop_back();
            if (!begun) return false;
        }
    }
    return SendSimpleCommand(CMD_END_BATCH);
}

bool DeviceManager::InBatch()
{
    std::lock_guard lock(batchMutex_);
    return std::find(batches_.begin(), batches_.end(), true) != batches_.end();
}

bool DeviceManager::EndOpenBatch()
{
    if (!InBatch()) return true;
    {
        std::lock_guard lock(batchMutex_);
        batches_.clear();
    }
    return SendSimpleCommand(CMD_END_BATCH);
}

bool DeviceManager::WriteChunk(DeviceCommand command, uint16_t address,
                               std::span<const uint8_t> data)
{
    DeviceReport request = DeviceReport::Request(command, address, data.data(), data.size());
    return SendCommand(request);
}

bool DeviceManager::ReadChunk(DeviceCommand command, uint16_t address, size_t length,
                              std::span<uint8_t, REPORT_DATA_MAX> out)
{
    DeviceReport report = DeviceReport::Request(command, address, nullptr, length);
    const bool ok = SendCommandChecked(report);
    // A failed read leaves the request in place, whose data bytes are all zero.
    std::copy(report.AnswerData().begin(), report.AnswerData().end(), out.begin());
    return ok;
}

bool DeviceManager::WriteTable(DeviceCommand command, uint16_t base, std::span<const uint8_t> table,
                               bool stopAtFailure)
{
    bool all = true;
    const size_t chunks = ChunkCount(table.size());
    for (size_t i = 0; i < chunks; ++i) {
        const size_t offset = i * REPORT_DATA_MAX;
        const size_t size = std::min(REPORT_DATA_MAX, table.size() - offset);
        const auto address = static_cast<uint16_t>(base + offset);
        if (!WriteChunk(command, address, table.subspan(offset, size))) {
            all = false;
            if (stopAtFailure) break;
        }
    }
    return all;
}

bool DeviceManager::ReadTable(DeviceCommand command, uint16_t base, size_t length,
                              std::span<uint8_t> out, bool stopAtFailure)
{
    bool all = true;
    const size_t chunks = ChunkCount(length);
    std::array<uint8_t, REPORT_DATA_MAX> chunk{};
    for (size_t i = 0; i < chunks; ++i) {
        const size_t offset = i * REPORT_DATA_MAX;
        const size_t size = std::min(REPORT_DATA_MAX, length - offset);
        const bool ok = ReadChunk(command, static_cast<uint16_t>(base + offset), size, chunk);
        if (offset < out.size()) {
            std::copy_n(chunk.begin(), std::min(REPORT_DATA_MAX, out.size() - offset),
                        out.begin() + static_cast<std::ptrdiff_t>(offset));
        }
        if (!ok) {
            all = false;
            if (stopAtFailure) break;
        }
    }
    return all;
}

bool DeviceManager::WriteTableBatch(DeviceCommand command, uint16_t base,
                                    std::span<const uint8_t> table)
{
    const bool begun = BeginBatch();
    const bool written = WriteTable(command, base, table);
    const bool ended = EndBatch();
    return begun && written && ended;
}

bool DeviceManager::ReadTableBatch(DeviceCommand command, uint16_t base, size_t length,
                                   std::span<uint8_t> out)
{
    const bool begun = BeginBatch();
    const bool read = ReadTable(command, base, length, out);
    const bool ended = EndBatch();
    return begun && read && ended;
}
