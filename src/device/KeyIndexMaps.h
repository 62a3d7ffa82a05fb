// The maps between key index (the position of a key in every keyboard table, also its light
// index) and key code, built from the keyboard's layer-0 default key table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>

// Key indexes looked at when the maps are built.
inline constexpr int kMappedKeyIndexes = 144;

struct KeyIndexMaps {
    std::map<int, int> indexToCode;
    std::map<int, int> codeToIndex;
    // The same content for the lighting codecs, key codes masked to 9 bits.
    std::map<int, int> lightCodeToIndex;

    void Clear();
    // -1 when the key code has no key index.
    int IndexOf(int keyCode) const;
    // 0 when the key index holds no key.
    int CodeAt(int keyIndex) const;
};

// The key code a default-table entry (kind, value low, value high) stands for; 0 for none.
int DefaultEntryKeyCode(uint8_t kind, uint8_t low, uint8_t high);

// Clears maps and fills them from the entries of table (3 bytes per key index) for key
// indexes 0..kMappedKeyIndexes-1, as far as the table reaches.
void BuildKeyIndexMaps(std::span<const uint8_t> table, KeyIndexMaps& maps);
