#include "device/SettingsTransfer.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "device/DeviceColorTable.h"
#include "device/DeviceManager.h"
#include "device/TableRead.h"
#include "platform/text/DecimalText.h"
#include "platform/text/Utf8.h"
#include "storage/DefaultConfig.h"
#include "storage/KBDataBase.h"

namespace {

constexpr int kGlobalProfile = 0;
// The light mode of a keyboard whose lighting is switched off.
constexpr int kLightModeOffCode = 255;
// The widest dead zone the keys take.
constexpr int kDeadZoneMax = 0x7F;

// The value a new database holds for key, 0 for a key it does not hold.
int DefaultConfigInt(const wchar_t* key)
{
    const std::string name = text::WideToUtf8(key);
    for (const storage::DefaultConfigEntry& entry : storage::DefaultConfigRows()) {
        if (name == entry.key) return StrictDecimalToInt(text::Utf8ToWide(entry.value)).value_or(0);
    }
    return 0;
}

}  // namespace

SettingsTransfer::SettingsTransfer(DeviceManager& device, KBDataBase& db, Pause pause)
    : device_(device), db_(db), pause_(std::move(pause))
{
}

int SettingsTransfer::ConfigInt(int profile, const wchar_t* key, int min, int max)
{
    // A stored value that is no decimal number of the setting's range (an older program's, or
    // one changed by hand) is not sent: the setting's default goes to the keyboard instead.
    std::wstring value;
    if (!db_.GetConfig(profile, key, value)) return DefaultConfigInt(key);
    const std::optional<int32_t> number = StrictDecimalToInt(value);
    if (!number || *number < min || *number > max) return DefaultConfigInt(key);
    return *number;
}

SwitchSettings SettingsTransfer::ConfiguredSwitchSettings(int profile, bool calibrationBit)
{
    SwitchSettings settings;
    // The ranges are the choices the settings page offers.
    settings.reportRate = ConfigInt(kGlobalProfile, L"reporte_rate", 1, 4);
    settings.tickRate = ConfigInt(kGlobalProfile, L"tick_rate", 0, 2);
    settings.deadZone = ConfigInt(kGlobalProfile, L"dead_zone", 0, kDeadZoneMax);
    settings.disableWin = ConfigInt(kGlobalProfile, L"disable_win", 0, 1) == 1;
    settings.disableAltTab = ConfigInt(kGlobalProfile, L"disable_alttab", 0, 1) == 1;
    settings.disableAltF4 = ConfigInt(kGlobalProfile, L"disable_altf4", 0, 1) == 1;
    settings.tachyonMode = ConfigInt(kGlobalProfile, L"perf_tachyon_mode", 0, 1) != 0;
    settings.bottomRapidTrigger = ConfigInt(profile, L"perf_bottomrapidtrigger_mode", 0, 1) != 0;
    settings.calibrationBit = calibrationBit;
    settings.debounceLevel = ConfigInt(kGlobalProfile, L"debounce_level", 0, 2);
    return settings;
}

std::optional<SettingsBlock> SettingsTransfer::ReadBlock()
{
    DeviceReport request =
        DeviceReport::Request(CMD_READ_SETTINGS, 0, nullptr, kSettingsBlockBytes);
    if (!device_.SendCommandChecked(request)) return std::nullopt;
    return SettingsFromAnswer(request);
}

bool SettingsTransfer::WriteBlock(const SettingsBlock& block)
{
    DeviceReport request = SettingsWriteRequest(block);
    const bool written = device_.SendCommand(request);
    pause_(kSettingsStorePauseMs);
    return written;
}

bool SettingsTransfer::WriteSwitchSettings(int profile, bool calibrationBit)
{
    if (profile < 1) return false;
    const bool begun = device_.BeginBatch();
    std::optional<SettingsBlock> block = ReadBlock();
    if (block) {
        PatchSwitchSettings(*block, ConfiguredSwitchSettings(profile, calibrationBit));
    }
    const bool written = block && WriteBlock(*block);
    return device_.EndBatch() && begun && written;
}

bool SettingsTransfer::WriteLighting(int profile, int mode)
{
    if (profile < 1) return false;
    LightRecord light;
    db_.GetLight(profile, mode, light);
    const bool begun = device_.BeginBatch();
    std::optional<SettingsBlock> block = ReadBlock();
    if (block) PatchLighting(*block, mode, light);
    const bool written = block && WriteBlock(*block);
    return device_.EndBatch() && begun && written;
}

bool SettingsTransfer::ReadLighting(int profile, const KeyIndexMaps& maps)
{
    const bool begun = device_.BeginBatch();
    const std::optional<SettingsBlock> block = ReadBlock();
    bool colors = false;
    if (block) {
        const int mode = LightModeOf(*block);
        // A keyboard with its lighting off shows the off mode: the switch goes off and the
        // chosen mode stays the active row, so that switching on restores it.
        const bool off = mode == kLightModeOffCode;
        db_.SetConfig(profile, L"enable_light", off ? L"0" : L"1");
        if (!off) db_.SetActiveLightMode(profile, mode);
        LightRecord light;
        if (db_.GetLight(profile, mode, light)) {
            DecodeLighting(*block, light);
            db_.UpdateLight(mode, light);
        }
        colors = ReadUserColors(profile, maps);
    }
    return device_.EndBatch() && begun && block && colors;
}

bool SettingsTransfer::ReadUserColors(int profile, const KeyIndexMaps& maps)
{
    const TableRead read = ReadTableChunks(device_, CMD_READ_USER_COLORS, 0, kColorTableBytes);
    // Nothing of a table read in part is stored: the next write would send the stored colours
    // of the missing keys over the keyboard's own.
    if (!read.Complete()) return false;
    ColorTable table;
    std::copy_n(read.bytes.begin(), kColorTableBytes, table.bytes.begin());
    std::vector<UserLightRgbRecord> rows;
    for (int index = 0; index < kColorTableKeys; ++index) {
        const int code = maps.CodeAt(index);
        if (code < 1) continue;
        UserLightRgbRecord row;
        row.profile = profile;
        row.userlight_id = profile;
        row.key_code = code;
        row.key_rgb = table.Get(index);
        rows.push_back(row);
    }
    db_.DeleteUserLightRgbs(profile);
    db_.InsertUserLightRgbs(std::move(rows));
    return true;
}
