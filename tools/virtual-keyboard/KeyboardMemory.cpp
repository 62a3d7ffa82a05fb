#include "KeyboardMemory.h"

namespace vkb {
namespace {

constexpr uint8_t kFnUsage = 0xFF;

constexpr uint8_t kPrintScreenUsage = 0x46;

// The 84 keys of the board by key index, the order of the model's layout file.
constexpr std::array<uint8_t, kKeyCount> kLayout = {
    0x29, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E,     0x3F, 0x40, 0x41, 0x42,
    0x43, 0x44,              // Esc F1..F11
    0x45, 0x46, 0x48, 0x4C,  // F12 Print Pause Del
    0x35, 0x1E, 0x1F, 0x20, 0x21, 0x22,     0x23, 0x24, 0x25, 0x26,
    0x27, 0x2D,        // ` 1..0 -
    0x2E, 0x2A, 0x4A,  // = Backspace Home
    0x2B, 0x14, 0x1A, 0x08, 0x15, 0x17,     0x1C, 0x18, 0x0C, 0x12,
    0x13, 0x2F,        // Tab Q..P [
    0x30, 0x31, 0x4B,  // ] \ PgUp
    0x39, 0x04, 0x16, 0x07, 0x09, 0x0A,     0x0B, 0x0D, 0x0E, 0x0F,
    0x33, 0x34,  // Caps A..L ; '
    0x28, 0x4E,  // Enter PgDn
    0xE1, 0x1D, 0x1B, 0x06, 0x19, 0x05,     0x11, 0x10, 0x36, 0x37,
    0x38, 0xE5,                                                      // Shift Z..M , . / Shift
    0x52, 0x4D,                                                      // Up End
    0xE0, 0xE3, 0xE2, 0x2C, 0xE6, kFnUsage, 0xE4, 0x50, 0x51, 0x4F,  // Ctrl..Right
};

std::array<uint8_t, 3> KeyEntry(uint8_t usage)
{
    if (usage == 0) return {0, 0, 0};
    // Fn is the FN1 layer selector (function 0x1FF).
    if (usage == kFnUsage) return {0xF0, 0xFF, 0x01};
    // Print Screen is one of the keyboard's function codes.
    if (usage == kPrintScreenUsage) return {0xF0, 0x53, 0x00};
    if (usage >= 0xE0 && usage <= 0xE7) {
        return {0x10, static_cast<uint8_t>(1u << (usage - 0xE0)), 0x00};
    }
    return {0x10, 0x00, usage};
}

// FN1 of the factory: mute, volume down and up on F10, F11, F12.
std::array<uint8_t, 3> FirstFnEntry(size_t keyIndex)
{
    switch (DefaultKeyUsage(keyIndex)) {
        case 0x43:
            return {0x30, 0xE2, 0x00};
        case 0x44:
            return {0x30, 0xEA, 0x00};
        case 0x45:
            return {0x30, 0xE9, 0x00};
        default:
            return {0, 0, 0};
    }
}

void Put(std::vector<uint8_t>& table, size_t at, std::initializer_list<uint8_t> bytes)
{
    for (uint8_t b : bytes) table[at++] = b;
}

}  // namespace

uint8_t DefaultKeyUsage(size_t keyIndex) { return keyIndex < kKeyCount ? kLayout[keyIndex] : 0; }

std::array<uint8_t, 3> DefaultKeyEntry(size_t layer, size_t keyIndex)
{
    const uint8_t usage = DefaultKeyUsage(keyIndex);
    if (layer == 0 || usage == kFnUsage) return KeyEntry(usage);
    if (layer == 1) return FirstFnEntry(keyIndex);
    return {0, 0, 0};
}

KeyboardMemory KeyboardMemory::Factory()
{
    KeyboardMemory m;
    for (size_t layer = 0; layer < kLayers; ++layer) {
        for (size_t key = 0; key < kKeyCount; ++key) {
            const auto entry = DefaultKeyEntry(layer, key);
            Put(m.defaultKeymaps, layer * kLayerTableSize + key * 3,
                {entry[0], entry[1], entry[2]});
        }
    }
    m.keymaps = m.defaultKeymaps;
    // Switch type 1, rapid trigger off, actuation 150, RT 30 / 30 steps.
    for (size_t key = 0; key < kKeyCount; ++key) {
        if (DefaultKeyUsage(key) == 0) continue;
        Put(m.keyPerf, key * 8, {0xA1, 0x00, 149, 0x00, 29, 0x00, 29, 0x00});
    }
    Put(m.settings, 0, {0x01, 0x02, 0x03, 0x04, 0x21, 0x00, 0x00, 0x00});
    Put(m.settings, 8, {0x01, 0x04, 0x02, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0xFF});
    for (size_t k = 17; k < kSettingsSize; ++k) m.settings[k] = static_cast<uint8_t>(0x80 + k);
    for (size_t key = 0; key < kKeyCount; ++key) {
        if (DefaultKeyUsage(key) != 0) Put(m.userColors, key * 3, {0xFF, 0xFF, 0xFF});
    }
    m.liveColors = m.userColors;
    for (size_t i = 0; i < 32; ++i) Put(m.macros, i * 2, {0x40, 0x00});
    return m;
}

}  // namespace vkb
