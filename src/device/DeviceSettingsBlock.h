// The keyboard's 32-byte settings block (read with CMD_READ_SETTINGS, written with
// CMD_WRITE_SETTINGS at address 0). The program owns some fields and keeps every other bit as
// the keyboard reported it:
//   4     report rate | tick rate << 4          8      light mode
//   5     dead zone                             9      brightness
//   6     key locks (bit 0 Win, 1 Alt+Tab, 2 Alt+F4, the byte replaced whole)
//   7     bit 0 tachyon mode, bit 1 bottom rapid trigger, bit 3 calibration or release-stroke
//         display, bits 5-7 debounce level; bits 2 and 4 kept
//   10    4 - speed     11 direction     12 colourful     13 colour index
//   14-16 colour red, green, blue
//   0-3, 17-31 kept
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/DeviceReport.h"
#include "storage/LightRecord.h"

inline constexpr size_t kSettingsBlockBytes = 32;
inline constexpr uint8_t kSettingsByte7Owned = 0x01 | 0x02 | 0x08 | 0xE0;
static_assert(kRequestDataByte + kSettingsBlockBytes <= REPORT_SIZE);
static_assert(kAnswerDataByte + 1 == kRequestDataByte);

// The keyboard-wide switch settings the program writes (data bytes 4-7).
struct SwitchSettings {
    int reportRate = 0;
    int tickRate = 0;
    int deadZone = 0;
    bool disableWin = false;
    bool disableAltTab = false;
    bool disableAltF4 = false;
    bool tachyonMode = false;
    bool bottomRapidTrigger = false;
    // Calibration running, or the release-stroke display shown on the performance page.
    bool calibrationBit = false;
    int debounceLevel = 0;
};

using SettingsBlock = std::array<uint8_t, kSettingsBlockBytes>;

// The block as an answer of CMD_READ_SETTINGS carries it.
SettingsBlock SettingsFromAnswer(const DeviceReport& answer);
// The CMD_WRITE_SETTINGS request that writes block back.
DeviceReport SettingsWriteRequest(const SettingsBlock& block);

void PatchSwitchSettings(SettingsBlock& block, const SwitchSettings& settings);
// Bytes 8-16 from the light mode and its record.
void PatchLighting(SettingsBlock& block, int mode, const LightRecord& light);

// The light mode of data byte 8.
inline int LightModeOf(const SettingsBlock& block) { return block[8]; }
// Brightness, speed, direction, colourful, colour index and colour of the block into light.
void DecodeLighting(const SettingsBlock& block, LightRecord& light);
