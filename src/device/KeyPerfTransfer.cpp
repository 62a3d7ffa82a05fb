#include "device/KeyPerfTransfer.h"

#include <array>
#include <span>
#include <vector>

#include "device/DeviceManager.h"
#include "device/ProfileSwitchReport.h"
#include "device/TableRead.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

KeyPerfTransfer::KeyPerfTransfer(DeviceManager& device, KBDataBase& db, const KeyIndexMaps& maps,
                                 KeyPerfState& state)
    : device_(device), db_(db), maps_(maps), state_(state)
{
}

bool KeyPerfTransfer::ReadFromDevice(int profile)
{
    const bool begun = device_.BeginBatch();
    const bool read = ReadAt(profile, 0);
    return device_.EndBatch() && begun && read;
}

bool KeyPerfTransfer::ReadDeviceProfile(int profile, int deviceProfile)
{
    // Only the keyboard's own profiles: another number would wrap the 16-bit address.
    if (profile < 1 || deviceProfile < 0 || deviceProfile >= kDeviceProfiles) return false;
    return ReadAt(profile, static_cast<uint16_t>(deviceProfile * kKeyPerfProfileStride));
}

bool KeyPerfTransfer::ReadAt(int profile, uint16_t base)
{
    const TableRead read = ReadTableChunks(device_, CMD_READ_KEY_PERF, base, kKeyPerfTableBytes);
    std::vector<KeyPerfRecord> rows;
    {
        std::lock_guard lock(state_.mutex);
        // Nothing of a table read in part is stored: the next write would send the rows of the
        // missing keys over the keyboard's own.
        state_.unread = !read.Complete();
        if (state_.unread) return false;
        for (int index = 0; index < kKeyPerfKeys; ++index) {
            const size_t at = static_cast<size_t>(index) * kKeyPerfEntryBytes;
            KeyPerfRecord& slot = state_.slots[static_cast<size_t>(index)];
            slot.profile = profile;
            slot.key_code = maps_.CodeAt(index);
            DecodeKeyPerf(std::span<const uint8_t, kKeyPerfEntryBytes>(read.bytes.data() + at,
                                                                       kKeyPerfEntryBytes),
                          slot);
            if (slot.key_code > 0) rows.push_back(slot);
        }
    }
    if (!rows.empty()) db_.UpdateKeyPerfs(std::move(rows));
    return read.Complete();
}

bool KeyPerfTransfer::WriteToDevice(int profile)
{
    if (profile < 1) return false;
    std::vector<KeyPerfRecord*> stored;
    db_.GetKeyPerfs(profile, stored);
    const std::vector<KeyPerfRecord> rows = TakeRecords(stored);
    if (rows.empty()) return false;

    std::array<uint8_t, kKeyPerfTableBytes> table{};
    {
        std::lock_guard lock(state_.mutex);
        if (state_.unread) return false;
        state_.switchTypeByCode.clear();
        for (const KeyPerfRecord& row : rows) {
            const int index = maps_.IndexOf(row.key_code);
            if (!KeyPerfIndexValid(index)) continue;
            EncodeKeyPerf(row, std::span<uint8_t, kKeyPerfEntryBytes>(
                                   table.data() + static_cast<size_t>(index) * kKeyPerfEntryBytes,
                                   kKeyPerfEntryBytes));
            state_.switchTypeByCode[row.key_code] = row.switch_type;
        }
    }
    return device_.WriteTableBatch(CMD_WRITE_KEY_PERF, 0, table);
}
