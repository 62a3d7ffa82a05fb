#include "device/KeyNameTable.h"

#include <gtest/gtest.h>

#include "device/VirtualKeys.h"

namespace {

const KeyNameTable& Table() { return KeyNameTable::GetInstance(); }

TEST(KeyNameTable, VirtualKeyToUsage)
{
    const struct {
        int virtualKey;
        int usage;
    } cases[] = {
        {'A', 0x04},
        {'Z', 0x1D},
        {'1', 0x1E},
        {'9', 0x26},
        {'0', 0x27},
        {vk::kReturn, 0x28},
        {vk::kSpace, 0x2C},
        {vk::kOem5, 0x31},
        {vk::kOem1, 0x33},
        {vk::kOem2, 0x38},
        {vk::kF1, 0x3A},
        {vk::kF12, 0x45},
        {vk::kF13, 0x68},
        {vk::kF24, 0x73},
        {vk::kPause, 0x48},
        {vk::kNext, 0x4E},
        {vk::kUp, 0x52},
        {vk::kNumpad0 + 1, 0x59},
        {vk::kNumpad9, 0x61},
        {vk::kNumpad0, 0x62},
        {vk::kDecimal, 0x63},
        {vk::kSeparator, 0x58},
        {vk::kOem102, 0x64},
        {vk::kOwnNonUsHash, 0x32},
        {vk::kOemClear, 0xFF},
        {0x8A, 0x8A},
        {vk::kOwn301, 0xEC},
        {vk::kOwn302, 0xEB},
        {vk::kLControl, 0xE0},
        {vk::kRWin, 0xE7},
        // Media keys give consumer usages; mute shares its number with left Alt.
        {vk::kVolumeMute, 0xE2},
        {vk::kBrowserRefresh, 0x227},
        {vk::kBrowserStop, 0x226},
        {vk::kLaunchMediaSelect, 0x183},
        // The generic modifier keys and unlisted codes have no key code.
        {vk::kShift, 0},
        {vk::kControl, 0},
        {vk::kMenu, 0},
        {vk::kClear, 0},
        {0x3A, 0},
        {-1, 0},
        {0x10000, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Table().VirtualKeyToUsage(c.virtualKey), c.usage) << "vk " << c.virtualKey;
    }
}

TEST(KeyNameTable, ModifierUsageToBit)
{
    for (int usage = 0xE0; usage <= 0xE7; ++usage) {
        EXPECT_EQ(Table().ModifierUsageToBit(usage), 1 << (usage - 0xE0));
    }
    EXPECT_EQ(Table().ModifierUsageToBit(0x04), 0x04);
    EXPECT_EQ(Table().ModifierUsageToBit(0xE8), 0xE8);
    EXPECT_EQ(Table().ModifierUsageToBit(0xDF), 0xDF);
}

TEST(KeyNameTable, KeyUsageToName)
{
    const struct {
        int usage;
        const wchar_t* name;
    } cases[] = {
        {0x04, L"A"},
        {0x1D, L"Z"},
        {0x1E, L"1"},
        {0x26, L"9"},
        {0x27, L"0"},
        {0x2A, L"Backspace"},
        {0x31, L"\\"},
        {0x32, L"\\"},
        {0x64, L"\\"},
        {0x35, L"~"},
        {0x39, L"Caps"},
        {0x3A, L"F1"},
        {0x45, L"F12"},
        {0x68, L"F13"},
        {0x73, L"F24"},
        {0x47, L"Scrl"},
        {0x4F, L"\u2192"},
        {0x52, L"\u2191"},
        {0x53, L"Num Lock"},
        {0x58, L"Num Enter"},
        {0x59, L"Num 1"},
        {0x61, L"Num 9"},
        {0x62, L"Num 0"},
        {0x63, L"Num ."},
        {0x65, L"App"},
        {0x87, L"Ro"},
        {0x89, L"\uFFE5"},
        {0x8B, L"\u7121\u5909\u63DB"},
        {0x90, L"\uD55C\uC601"},
        {0xE4, L"Ctrl"},
        {0xE3, L"Win"},
        {0xF8, L"Reset"},
        {0xFF, L"FN1"},
        // Right GUI and the codes between the runs have no text.
        {0xE7, L""},
        {0x00, L""},
        {0x66, L""},
        {0x74, L""},
        {0x86, L""},
        {0x100, L""},
        {-5, L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Table().KeyUsageToName(c.usage), c.name) << "usage " << c.usage;
    }
}

TEST(KeyNameTable, DecimalKeyRoundTripsToItsCaption)
{
    EXPECT_EQ(Table().KeyUsageToName(Table().VirtualKeyToUsage(vk::kDecimal)), L"Num .");
}

}  // namespace
