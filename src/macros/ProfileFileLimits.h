// What a profile exchange file may hold: the ranges of the values whose meaning is not fixed by
// a keyboard table (those come from src/device), and the longest text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ProfileFileLimit {

inline constexpr size_t kTextLength = 256;
// Key codes: HID usages, the FN key 255 and the codes above it the default table names.
inline constexpr int64_t kKeyCodeMax = 511;
// Layers of a profile (0 base, 1..8 FN) and the device-default layers 101..107 of profile 1.
inline constexpr int kLayers = 9;
inline constexpr int kDeviceDefaultLayerMax = 107;
// Every key of every layer, device defaults included (16 layers of the mapped key indexes).
inline constexpr size_t kKeyRows = 16 * 144;
inline constexpr size_t kAdvancedKeys = 32 + 42 + 42;
inline constexpr int kPlayTimesMin = 1;
inline constexpr int kPlayTimesMax = 99;
inline constexpr int kDelayTypeMin = 1;
inline constexpr int kDelayTypeMax = 3;
inline constexpr int kStepTypeMax = 5;
// Actuation and rapid-trigger distances travel as 9 bits plus one.
inline constexpr int kTravelMax = 512;
inline constexpr int kDeadZoneMax = 127;
inline constexpr size_t kLightModes = 256;
inline constexpr int kLightModeOff = 255;
inline constexpr int kSpeedMax = 4;
inline constexpr int kAmplitudeMax = 5;
inline constexpr int kBackBrightnessMax = 20;
inline constexpr size_t kConfigRows = 64;
inline constexpr int kConfigValueMax = 0xFFFFFF;

}  // namespace ProfileFileLimit

// A text as a file holds it: longer texts are cut to kTextLength characters, on writing and
// reading alike, so that the program always reads back what it wrote.
std::wstring FileText(std::wstring_view text);

// A configuration key every profile has, other than "version".
bool IsProfileConfigKey(std::wstring_view key);
