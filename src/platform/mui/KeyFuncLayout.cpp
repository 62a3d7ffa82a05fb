// The default content of KeyFuncControl: a US keyboard of 48-pixel keys (widths in quarter
// keys) below a row of modifier chips, with a "Disable" key at the right.
#include <initializer_list>

#include "platform/mui/KeyFuncControl.h"

namespace MUI {

namespace {

constexpr int kQuarter = 12;  // pixels per quarter key
constexpr int kKeyHeight = 48;
constexpr int kRowPitch = 52;
constexpr int kKeysTop = 40;
constexpr int kKeyGap = 4;

struct KeyDef {
    int usage;
    const wchar_t* name;
    int width = 4;   // quarter keys
    int before = 0;  // empty quarter keys before the key
};

using Row = std::initializer_list<KeyDef>;

const Row kRows[] = {
    {{0x29, L"Esc"},
     {0x3A, L"F1", 4, 4},
     {0x3B, L"F2"},
     {0x3C, L"F3"},
     {0x3D, L"F4"},
     {0x3E, L"F5", 4, 2},
     {0x3F, L"F6"},
     {0x40, L"F7"},
     {0x41, L"F8"},
     {0x42, L"F9", 4, 2},
     {0x43, L"F10"},
     {0x44, L"F11"},
     {0x45, L"F12"},
     {0x46, L"PrtSc", 4, 2},
     {0x47, L"ScrLk"},
     {0x48, L"Pause"},
     {KeyFuncControl::kDisableUsage, L"Disable", 8, 4}},
    {{0x35, L"`"},
     {0x1E, L"1"},
     {0x1F, L"2"},
     {0x20, L"3"},
     {0x21, L"4"},
     {0x22, L"5"},
     {0x23, L"6"},
     {0x24, L"7"},
     {0x25, L"8"},
     {0x26, L"9"},
     {0x27, L"0"},
     {0x2D, L"-"},
     {0x2E, L"="},
     {0x2A, L"Backspace", 8},
     {0x49, L"Ins", 4, 2},
     {0x4A, L"Home"},
     {0x4B, L"PgUp"}},
    {{0x2B, L"Tab", 6},
     {0x14, L"Q"},
     {0x1A, L"W"},
     {0x08, L"E"},
     {0x15, L"R"},
     {0x17, L"T"},
     {0x1C, L"Y"},
     {0x18, L"U"},
     {0x0C, L"I"},
     {0x12, L"O"},
     {0x13, L"P"},
     {0x2F, L"["},
     {0x30, L"]"},
     {0x31, L"\\", 6},
     {0x4C, L"Del", 4, 2},
     {0x4D, L"End"},
     {0x4E, L"PgDn"}},
    {{0x39, L"Caps", 7},
     {0x04, L"A"},
     {0x16, L"S"},
     {0x07, L"D"},
     {0x09, L"F"},
     {0x0A, L"G"},
     {0x0B, L"H"},
     {0x0D, L"J"},
     {0x0E, L"K"},
     {0x0F, L"L"},
     {0x33, L";"},
     {0x34, L"'"},
     {0x28, L"Enter", 9}},
    {{0xE1, L"Shift", 9},
     {0x1D, L"Z"},
     {0x1B, L"X"},
     {0x06, L"C"},
     {0x19, L"V"},
     {0x05, L"B"},
     {0x11, L"N"},
     {0x10, L"M"},
     {0x36, L","},
     {0x37, L"."},
     {0x38, L"/"},
     {0xE5, L"R-Shift", 11},
     {0x52, L"Up", 4, 6}},
    {{0xE0, L"Ctrl", 5},
     {0xE3, L"Win", 5},
     {0xE2, L"Alt", 5},
     {0x2C, L"Space", 25},
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
                                     key.name,
                                     RECT{left, top, left + width - kKeyGap, top + kKeyHeight}});
            left += width;
        }
        top += kRowPitch;
    }
    return items;
}

std::vector<KeyFuncControl::Chip> DefaultKeyFuncChips()
{
    const struct {
        int usage;
        const wchar_t* name;
    } chips[] = {{0xE0, L"Ctrl"}, {0xE1, L"Shift"}, {0xE2, L"Alt"}, {0xE3, L"Win"}};
    std::vector<KeyFuncControl::Chip> result;
    int left = 0;
    for (const auto& chip : chips) {
        result.push_back(KeyFuncControl::Chip{chip.usage, chip.name, RECT{left, 0, left + 80, 30}});
        left += 88;
    }
    return result;
}

}  // namespace MUI
