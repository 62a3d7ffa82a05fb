#include "device/ColorTransfer.h"

#include <algorithm>

#include "device/DeviceColorTable.h"
#include "device/DeviceManager.h"
#include "device/TableRead.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

ColorTransfer::ColorTransfer(DeviceManager& device, const KeyIndexMaps& maps)
    : device_(device), maps_(maps)
{
}

bool ColorTransfer::WriteUserColors(KBDataBase& db, int profile, std::vector<KeyColor>& sent)
{
    sent.clear();
    if (profile < 1) return false;
    const bool begun = device_.BeginBatch();
    std::vector<UserLightRgbRecord*> stored;
    db.GetUserLightRgbs(profile, stored);
    ColorTable table;
    for (const UserLightRgbRecord& row : TakeRecords(stored)) {
        const int index = maps_.IndexOf(row.key_code);
        if (!ColorIndexValid(index)) continue;
        table.Set(index, row.key_rgb);
        sent.emplace_back(row.key_code, row.key_rgb);
    }
    const bool written = device_.WriteTable(CMD_WRITE_USER_COLORS, 0, table.bytes);
    return device_.EndBatch() && begun && written;
}

bool ColorTransfer::ReadLiveColors(bool thirdScale, std::vector<KeyColor>& colors)
{
    colors.clear();
    const bool begun = device_.BeginBatch();
    const TableRead read =
        ReadTableChunks(device_, CMD_READ_LIVE_COLORS, 0, kColorTableBytes, true);
    const bool ended = device_.EndBatch();
    if (!read.Complete()) return false;
    ColorTable table;
    std::copy_n(read.bytes.begin(), kColorTableBytes, table.bytes.begin());
    for (int index = 0; index < kColorTableKeys; ++index) {
        const int code = maps_.CodeAt(index);
        if (code <= 0) continue;
        const int color = table.Get(index);
        colors.emplace_back(code, thirdScale ? ScaleThirdScaleColor(color) : color);
    }
    return begun && ended;
}

bool ColorTransfer::WriteLiveColors(const std::vector<KeyColor>& colors)
{
    const bool begun = device_.BeginBatch();
    ColorTable table;
    for (const auto& [code, color] : colors) table.Set(maps_.IndexOf(code), color);
    // The chunks stop at the first that fails; the batch is ended all the same, so that the
    // keyboard is never left inside it.
    const bool written = device_.WriteTable(CMD_WRITE_LIVE_COLORS, 0, table.bytes, true);
    const bool ended = device_.EndBatch();
    return written && ended && begun;
}
