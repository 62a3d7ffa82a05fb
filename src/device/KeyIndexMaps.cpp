#include "device/KeyIndexMaps.h"

#include "device/DeviceKeyKind.h"

namespace {

constexpr int kFnKey = 255;
// The keyboard lists Print Screen among its functions.
constexpr uint8_t kPrintScreenFunction = 0x53;
constexpr int kPrintScreenKey = 70;
constexpr uint8_t kKindExtendedKey = 0xE0;
constexpr int kExtendedKeyBase = 241;

}  // namespace

void KeyIndexMaps::Clear()
{
    indexToCode.clear();
    codeToIndex.clear();
    lightCodeToIndex.clear();
}

int KeyIndexMaps::IndexOf(int keyCode) const
{
    const auto found = codeToIndex.find(keyCode);
    return found == codeToIndex.end() ? -1 : found->second;
}

int KeyIndexMaps::CodeAt(int keyIndex) const
{
    const auto found = indexToCode.find(keyIndex);
    return found == indexToCode.end() ? 0 : found->second;
}

int DefaultEntryKeyCode(uint8_t kind, uint8_t low, uint8_t high)
{
    switch (kind) {
        case KIND_FUNCTION:
            if (low == 0xFF) return kFnKey;
            if (low == kPrintScreenFunction) return kPrintScreenKey;
            return 0;
        case kKindExtendedKey:
            return low + kExtendedKeyBase;
        case KIND_KEY:
            for (int bit = 0; bit < 8; ++bit) {
                if (low == (1u << bit)) return 0xE0 + bit;
            }
            return high == 0xFF ? 0 : high;
        default:
            return 0;
    }
}

void BuildKeyIndexMaps(std::span<const uint8_t> table, KeyIndexMaps& maps)
{
    maps.Clear();
    for (int index = 0; index < kMappedKeyIndexes; ++index) {
        const size_t at = static_cast<size_t>(index) * 3;
        if (at + 3 > table.size()) break;
        const int code = DefaultEntryKeyCode(table[at], table[at + 1], table[at + 2]);
        if (code == 0) continue;
        maps.indexToCode[index] = code;
        maps.codeToIndex[code] = index;
        maps.lightCodeToIndex[code & 0x1FF] = index;
    }
}
