// What the keyboard stores, as the tables of its protocol lay it out, with the factory state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vkb {

inline constexpr size_t kLayers = 8;
inline constexpr size_t kLayerTableSize = 512;  // 3-byte entries by key index
inline constexpr size_t kKeyCount = 128;
inline constexpr size_t kDeviceProfiles = 4;
inline constexpr size_t kKeyPerfTableSize =
    1024;  // one table for every device profile, 8 bytes per key
inline constexpr size_t kSettingsSize = 32;
inline constexpr size_t kColorTableSize = 384;  // R, G, B per key
inline constexpr size_t kMacroImageSize = 3584;
inline constexpr size_t kDksTableSize = 768;
inline constexpr size_t kPairTableSize = 256;
inline constexpr size_t kToggleTableSize = 128;

struct KeyboardMemory {
    std::vector<uint8_t> defaultKeymaps = std::vector<uint8_t>(kLayers * kLayerTableSize);
    std::vector<uint8_t> keymaps = std::vector<uint8_t>(kLayers * kLayerTableSize);
    std::vector<uint8_t> keyPerf = std::vector<uint8_t>(kKeyPerfTableSize);
    std::vector<uint8_t> settings = std::vector<uint8_t>(kSettingsSize);
    std::vector<uint8_t> userColors = std::vector<uint8_t>(kColorTableSize);
    std::vector<uint8_t> liveColors = std::vector<uint8_t>(kColorTableSize);
    std::vector<uint8_t> macros = std::vector<uint8_t>(kMacroImageSize);
    std::vector<uint8_t> dksTable = std::vector<uint8_t>(kDksTableSize);
    std::vector<uint8_t> pairTable = std::vector<uint8_t>(kPairTableSize);
    std::vector<uint8_t> toggleTable = std::vector<uint8_t>(kToggleTableSize);

    // The state a new keyboard leaves the factory with (and a factory reset restores).
    static KeyboardMemory Factory();
};

// The default layer-0 entry of a key index: kind, value low, value high (zeros: no key).
std::array<uint8_t, 3> DefaultKeyEntry(size_t layer, size_t keyIndex);
// The HID usage of the physical key at a key index (0: none); modifiers give 0xE0..0xE7,
// the Fn key 0xFF.
uint8_t DefaultKeyUsage(size_t keyIndex);

}  // namespace vkb
