// Raw input to the key pages' codes: generic modifiers become their left or right key, and the
// mouse's fourth and fifth buttons are two buttons.
#include <gtest/gtest.h>

#include "device/RawInputMapping.h"

namespace {

TEST(RawInputMapping, GenericModifiersTakeTheirSideFromTheScanCode)
{
    const struct {
        int virtualKey;
        unsigned scan;
        bool extended;
        int sided;
    } cases[] = {
        {16, 0x2A, false, 160},  {16, 0x36, false, 161}, {17, 0x1D, false, 162},
        {17, 0x1D, true, 163},   {18, 0x38, false, 164}, {18, 0x38, true, 165},
        {161, 0x36, false, 161}, {65, 0x1E, false, 65},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SidedVirtualKey(c.virtualKey, c.scan, c.extended), c.sided)
            << c.virtualKey << " " << c.scan;
    }
}

TEST(RawInputMapping, EveryMouseButtonHasItsOwnCodeAndName)
{
    const struct {
        unsigned flags;
        int code;
        int released;
        const wchar_t* name;
    } cases[] = {
        {0x0001, 1, 0, L"mouse_left"},    {0x0002, 1, 1, L"mouse_left"},
        {0x0010, 2, 0, L"mouse_middle"},  {0x0008, 3, 1, L"mouse_right"},
        {0x0040, 8, 0, L"mouse_button4"}, {0x0080, 8, 1, L"mouse_button4"},
        {0x0100, 7, 0, L"mouse_button5"}, {0x0200, 7, 1, L"mouse_button5"},
        {0x0041, 1, 0, L"mouse_left"},
    };
    for (const auto& c : cases) {
        const auto button = MouseButtonFromFlags(c.flags);
        ASSERT_TRUE(button.has_value()) << c.flags;
        EXPECT_EQ(button->code, c.code) << c.flags;
        EXPECT_EQ(button->released, c.released) << c.flags;
        EXPECT_STREQ(button->name, c.name);
    }
    EXPECT_FALSE(MouseButtonFromFlags(0x0400).has_value()) << "the wheel is no button";
}

TEST(RawInputMapping, MediaKeysAreConsumerKeys)
{
    EXPECT_TRUE(IsConsumerVirtualKey(0xAD));   // Vol Mute
    EXPECT_TRUE(IsConsumerVirtualKey(0xA6));   // Browser Back
    EXPECT_FALSE(IsConsumerVirtualKey(0xA4));  // Left Alt
}

}  // namespace
