#include "device/KeyNameTable.h"

#include <utility>

#include "device/VirtualKeys.h"
#include "platform/text/KeyCapName.h"

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

std::wstring KeyNameTable::KeyUsageToName(int usage) const { return text::KeyCapName(usage); }
