#include "device/DeviceSettingsBlock.h"

#include <algorithm>

namespace {

constexpr size_t kRatesByte = 4;
constexpr size_t kDeadZoneByte = 5;
constexpr size_t kKeyLockByte = 6;
constexpr size_t kSwitchModeByte = 7;
constexpr size_t kModeByte = 8;
constexpr size_t kBrightnessByte = 9;
constexpr size_t kSpeedByte = 10;
constexpr size_t kDirectionByte = 11;
constexpr size_t kColorfulByte = 12;
constexpr size_t kColorIndexByte = 13;
constexpr size_t kColorByte = 14;
constexpr int kSpeedTop = 4;

uint8_t Byte(int value) { return static_cast<uint8_t>(value & 0xFF); }
// A value the keyboard takes as one byte: kept within 0..255 rather than wrapped.
uint8_t Saturated(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 0xFF)); }

}  // namespace

SettingsBlock SettingsFromAnswer(const DeviceReport& answer)
{
    SettingsBlock block{};
    std::copy_n(answer.bytes.begin() + kAnswerDataByte, kSettingsBlockBytes, block.begin());
    return block;
}

DeviceReport SettingsWriteRequest(const SettingsBlock& block)
{
    return DeviceReport::Request(CMD_WRITE_SETTINGS, 0, block.data(), block.size());
}

void PatchSwitchSettings(SettingsBlock& block, const SwitchSettings& settings)
{
    block[kRatesByte] = Byte((settings.reportRate & 0x0F) | (settings.tickRate & 0x0F) << 4);
    block[kDeadZoneByte] = Byte(settings.deadZone);
    block[kKeyLockByte] =
        Byte((settings.disableWin ? 0x01 : 0) | (settings.disableAltTab ? 0x02 : 0) |
             (settings.disableAltF4 ? 0x04 : 0));
    const int owned = (settings.tachyonMode ? 0x01 : 0) | (settings.bottomRapidTrigger ? 0x02 : 0) |
                      (settings.calibrationBit ? 0x08 : 0) | (settings.debounceLevel & 0x07) << 5;
    block[kSwitchModeByte] = Byte((block[kSwitchModeByte] & ~kSettingsByte7Owned) | owned);
}

void PatchLighting(SettingsBlock& block, int mode, const LightRecord& light)
{
    block[kModeByte] = Byte(mode);
    block[kBrightnessByte] = Saturated(light.brightness);
    block[kSpeedByte] = Byte(kSpeedTop - std::clamp(light.speed, 0, kSpeedTop));
    block[kDirectionByte] = Saturated(light.direction);
    block[kColorfulByte] = Saturated(light.colorful);
    block[kColorIndexByte] = Saturated(light.colorindex);
    block[kColorByte] = Byte(light.color_value);
    block[kColorByte + 1] = Byte(light.color_value >> 8);
    block[kColorByte + 2] = Byte(light.color_value >> 16);
}

void DecodeLighting(const SettingsBlock& block, LightRecord& light)
{
    light.brightness = block[kBrightnessByte];
    light.speed = kSpeedTop - block[kSpeedByte];
    light.direction = block[kDirectionByte];
    light.colorful = block[kColorfulByte];
    light.colorindex = block[kColorIndexByte];
    light.color_value =
        block[kColorByte] | block[kColorByte + 1] << 8 | block[kColorByte + 2] << 16;
}
