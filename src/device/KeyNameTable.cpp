#include "device/KeyNameTable.h"

#include <utility>

#include "device/VirtualKeys.h"

KeyNameTable& KeyNameTable::GetInstance()
{
    static KeyNameTable instance;
    return instance;
}

namespace {

// Virtual keys outside the contiguous runs handled in VirtualKeyToUsage.
constexpr std::pair<int, int> kVirtualKeyRows[] = {
    {vk::kReturn, 0x28},
    {vk::kEscape, 0x29},
    {vk::kBack, 0x2A},
    {vk::kTab, 0x2B},
    {vk::kSpace, 0x2C},
    {vk::kOemMinus, 0x2D},
    {vk::kOemPlus, 0x2E},
    {vk::kOem4, 0x2F},
    {vk::kOem6, 0x30},
    {vk::kOem5, 0x31},
    {vk::kOem1, 0x33},
    {vk::kOem7, 0x34},
    {vk::kOem3, 0x35},
    {vk::kOemComma, 0x36},
    {vk::kOemPeriod, 0x37},
    {vk::kOem2, 0x38},
    {vk::kCapital, 0x39},
    {vk::kSnapshot, 0x46},
    {vk::kScroll, 0x47},
    {vk::kPause, 0x48},
    {vk::kInsert, 0x49},
    {vk::kHome, 0x4A},
    {vk::kPrior, 0x4B},
    {vk::kDelete, 0x4C},
    {vk::kEnd, 0x4D},
    {vk::kNext, 0x4E},
    {vk::kRight, 0x4F},
    {vk::kLeft, 0x50},
    {vk::kDown, 0x51},
    {vk::kUp, 0x52},
    {vk::kNumLock, 0x53},
    {vk::kDivide, 0x54},
    {vk::kMultiply, 0x55},
    {vk::kSubtract, 0x56},
    {vk::kAdd, 0x57},
    {vk::kSeparator, 0x58},
    {vk::kNumpad0, 0x62},
    {vk::kDecimal, 0x63},
    {vk::kOem102, 0x64},
    {vk::kApps, 0x65},
    {vk::kLControl, 0xE0},
    {vk::kLShift, 0xE1},
    {vk::kLMenu, 0xE2},
    {vk::kLWin, 0xE3},
    {vk::kRControl, 0xE4},
    {vk::kRShift, 0xE5},
    {vk::kRMenu, 0xE6},
    {vk::kRWin, 0xE7},
    {vk::kOwnNonUsHash, 0x32},
    {vk::kOemClear, 0xFF},
    {0x88, 0x88},
    {0x89, 0x89},
    {0x8A, 0x8A},
    {0x8B, 0x8B},
    {vk::kOwn301, 0xEC},
    {vk::kOwn302, 0xEB},
    {vk::kBrowserBack, 0x224},
    {vk::kBrowserForward, 0x225},
    {vk::kBrowserRefresh, 0x227},
    {vk::kBrowserStop, 0x226},
    {vk::kBrowserSearch, 0x221},
    {vk::kBrowserFavorites, 0x22A},
    {vk::kBrowserHome, 0x223},
    {vk::kVolumeMute, 0xE2},
    {vk::kVolumeDown, 0xEA},
    {vk::kVolumeUp, 0xE9},
    {vk::kMediaNextTrack, 0xB5},
    {vk::kMediaPrevTrack, 0xB6},
    {vk::kMediaStop, 0xB7},
    {vk::kMediaPlayPause, 0xCD},
    {vk::kLaunchMail, 0x18A},
    {vk::kLaunchMediaSelect, 0x183},
    {vk::kLaunchApp1, 0x192},
    {vk::kLaunchApp2, 0x194},
};

// Key-cap texts of the codes outside the letter, digit, F-key and keypad-digit runs.
constexpr std::pair<int, const wchar_t*> kNameRows[] = {
    {0x28, L"Enter"},
    {0x29, L"Esc"},
    {0x2A, L"Backspace"},
    {0x2B, L"Tab"},
    {0x2C, L"Space"},
    {0x2D, L"-"},
    {0x2E, L"="},
    {0x2F, L"["},
    {0x30, L"]"},
    {0x31, L"\\"},
    {0x32, L"\\"},
    {0x33, L";"},
    {0x34, L"'"},
    {0x35, L"~"},
    {0x36, L","},
    {0x37, L"."},
    {0x38, L"/"},
    {0x39, L"Caps"},
    {0x46, L"Print"},
    {0x47, L"Scrl"},
    {0x48, L"Pause"},
    {0x49, L"Ins"},
    {0x4A, L"Home"},
    {0x4B, L"PgUp"},
    {0x4C, L"Del"},
    {0x4D, L"End"},
    {0x4E, L"PgDn"},
    {0x4F, L"\u2192"},
    {0x50, L"\u2190"},
    {0x51, L"\u2193"},
    {0x52, L"\u2191"},
    {0x53, L"Num Lock"},
    {0x54, L"Num /"},
    {0x55, L"Num *"},
    {0x56, L"Num -"},
    {0x57, L"Num +"},
    {0x58, L"Num Enter"},
    {0x62, L"Num 0"},
    {0x63, L"Num ."},
    {0x64, L"\\"},
    {0x65, L"App"},
    {0x87, L"Ro"},
    {0x88, L"\u304B\u306A"},
    {0x89, L"\uFFE5"},
    {0x8A, L"\u5909\u63DB"},
    {0x8B, L"\u7121\u5909\u63DB"},
    {0x90, L"\uD55C\uC601"},
    {0x91, L"\u6F22\u5B57"},
    {0xE0, L"Ctrl"},
    {0xE4, L"Ctrl"},
    {0xE1, L"Shift"},
    {0xE5, L"Shift"},
    {0xE2, L"Alt"},
    {0xE6, L"Alt"},
    {0xE3, L"Win"},
    {0xF8, L"Reset"},
    {0xFF, L"FN1"},
};

}  // namespace

int KeyNameTable::VirtualKeyToUsage(int virtualKey) const
{
    if (virtualKey >= vk::kA && virtualKey <= vk::kZ) {
        return 0x04 + (virtualKey - vk::kA);
    }
    if (virtualKey >= vk::k0 + 1 && virtualKey <= vk::k9) {
        return 0x1E + (virtualKey - vk::k0 - 1);
    }
    if (virtualKey == vk::k0) {
        return 0x27;
    }
    if (virtualKey >= vk::kF1 && virtualKey <= vk::kF12) {
        return 0x3A + (virtualKey - vk::kF1);
    }
    if (virtualKey >= vk::kF13 && virtualKey <= vk::kF24) {
        return 0x68 + (virtualKey - vk::kF13);
    }
    if (virtualKey >= vk::kNumpad0 + 1 && virtualKey <= vk::kNumpad9) {
        return 0x59 + (virtualKey - vk::kNumpad0 - 1);
    }
    for (const auto& [key, usage] : kVirtualKeyRows) {
        if (key == virtualKey) {
            return usage;
        }
    }
    return 0;
}

int KeyNameTable::ModifierUsageToBit(int usage) const
{
    if (usage >= 0xE0 && usage <= 0xE7) {
        return 1 << (usage - 0xE0);
    }
    return usage;
}

std::wstring KeyNameTable::KeyUsageToName(int usage) const
{
    auto numbered = [](const wchar_t* prefix, int n) { return prefix + std::to_wstring(n); };
    if (usage >= 0x04 && usage <= 0x1D) {
        return std::wstring(1, static_cast<wchar_t>(L'A' + (usage - 0x04)));
    }
    if (usage >= 0x1E && usage <= 0x27) {
        return std::to_wstring((usage - 0x1E + 1) % 10);
    }
    if (usage >= 0x3A && usage <= 0x45) {
        return numbered(L"F", usage - 0x3A + 1);
    }
    if (usage >= 0x68 && usage <= 0x73) {
        return numbered(L"F", usage - 0x68 + 13);
    }
    if (usage >= 0x59 && usage <= 0x61) {
        return numbered(L"Num ", usage - 0x59 + 1);
    }
    for (const auto& [code, name] : kNameRows) {
        if (code == usage) {
            return name;
        }
    }
    return {};
}
