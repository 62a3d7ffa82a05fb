// The default content of KeyFuncControl: a US keyboard of 48-pixel keys (widths in quarter
// keys) below a row of modifier chips, with a "Disable" key at the right. Keys and chips
// without a name of their own here show their key-cap name.
#include <initializer_list>

#include "platform/mui/KeyFuncControl.h"
#include "platform/text/KeyCapName.h"

namespace MUI {

namespace {

constexpr int kQuarter = 12;  // pixels per quarter key
constexpr int kKeyHeight = 48;
constexpr int kRowPitch = 52;
// The chips keep clear of what lies just above the control (the key page's keyboard frame
// and its shadow end a few pixels below the control's top).
constexpr int kChipTop = 14;
constexpr int kChipHeight = 28;
constexpr int kKeysTop = 52;
constexpr int kKeyGap = 4;

struct KeyDef {
    int usage;
    const wchar_t* name = nullptr;  // null: the key-cap name
    int width = 4;                  // quarter keys
    int before = 0;                 // empty quarter keys before the key
};

using Row = std::initializer_list<KeyDef>;

const Row kRows[] = {
    {{0x29},
     {0x3A, nullptr, 4, 4},
     {0x3B},
     {0x3C},
     {0x3D},
     {0x3E, nullptr, 4, 2},
     {0x3F},
     {0x40},
     {0x41},
     {0x42, nullptr, 4, 2},
     {0x43},
     {0x44},
     {0x45},
     {0x46, L"PrtSc", 4, 2},
     {0x47, L"ScrLk"},
     {0x48},
     {KeyFuncControl::kDisableUsage, L"Disable", 8, 4}},
    {{0x35, L"`"},
     {0x1E},
     {0x1F},
     {0x20},
     {0x21},
     {0x22},
     {0x23},
     {0x24},
     {0x25},
     {0x26},
     {0x27},
     {0x2D},
     {0x2E},
     {0x2A, nullptr, 8},
     {0x49, nullptr, 4, 2},
     {0x4A},
     {0x4B}},
    {{0x2B, nullptr, 6},
     {0x14},
     {0x1A},
     {0x08},
     {0x15},
     {0x17},
     {0x1C},
     {0x18},
     {0x0C},
     {0x12},
     {0x13},
     {0x2F},
     {0x30},
     {0x31, nullptr, 6},
     {0x4C, nullptr, 4, 2},
     {0x4D},
     {0x4E}},
    {{0x39, nullptr, 7},
     {0x04},
     {0x16},
     {0x07},
     {0x09},
     {0x0A},
     {0x0B},
     {0x0D},
     {0x0E},
     {0x0F},
     {0x33},
     {0x34},
     {0x28, nullptr, 9}},
    {{0xE1, nullptr, 9},
     {0x1D},
     {0x1B},
     {0x06},
     {0x19},
     {0x05},
     {0x11},
     {0x10},
     {0x36},
     {0x37},
     {0x38},
     {0xE5, L"R-Shift", 11},
     {0x52, L"Up", 4, 6}},
    {{0xE0, nullptr, 5},
     {0xE3, nullptr, 5},
     {0xE2, nullptr, 5},
     {0x2C, nullptr, 25},
     {0xE6, L"R-Alt", 5},
     {0xE7, L"R-Win", 5},
     {0x65, L"Menu", 5},
     {0xE4, L"R-Ctrl", 5},
     {0x50, L"Left", 4, 2},
     {0x51, L"Down"},
     {0x4F, L"Right"}},
};

}  // namespace

std::vector<KeyFuncControl::Item> DefaultKeyFuncItems()
{
    std::vector<KeyFuncControl::Item> items;
    int top = kKeysTop;
    for (const Row& row : kRows) {
        int left = 0;
        for (const KeyDef& key : row) {
            left += key.before * kQuarter;
            const int width = key.width * kQuarter;
            items.push_back(
                KeyFuncControl::Item{{0, key.usage, 0, 0},
                                     key.name != nullptr ? key.name : text::KeyCapName(key.usage),
                                     RECT{left, top, left + width - kKeyGap, top + kKeyHeight}});
            left += width;
        }
        top += kRowPitch;
    }
    return items;
}

std::vector<KeyFuncControl::Chip> DefaultKeyFuncChips()
{
    const int chips[] = {0xE0, 0xE1, 0xE2, 0xE3};  // named by their key-cap names
    std::vector<KeyFuncControl::Chip> result;
    int left = 0;
    for (const int usage : chips) {
        result.push_back(
            KeyFuncControl::Chip{usage, text::KeyCapName(usage),
                                 RECT{left, kChipTop, left + 80, kChipTop + kChipHeight}});
        left += 88;
    }
    return result;
}

}  // namespace MUI
