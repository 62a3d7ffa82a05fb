#include "platform/text/ColorText.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/text/Utf8.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

TEST(ColorText, ReadsTheDigitsByTheirCount)
{
    const struct {
        const wchar_t* text;
        uint32_t color;
    } cases[] = {
        {L"#FF", Rgb(255, 0, 0)},
        {L"#FF8", Rgb(255, 8, 0)},
        {L"#FF80", Rgb(255, 128, 0)},
        {L"#12345", Rgb(0x12, 0x34, 5)},
        {L"#FF8000", Rgb(255, 128, 0)},
        {L"#ff8000", Rgb(255, 128, 0)},
        {L"x0A0B0C", Rgb(10, 11, 12)},
        {L"#1234567", 0},
        {L"#", 0},
        {L"", 0},
        {L"#F", 0},
        {L"#G0FF00", Rgb(0, 255, 0)},
        {L"#1G2345", Rgb(1, 0x23, 0x45)},
        {L"#FG0000", Rgb(0x0F, 0, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::ParseColorText(c.text), c.color) << text::WideToUtf8(c.text);
    }
}

TEST(ColorText, TellsAColourTextAndWritesOne)
{
    EXPECT_TRUE(text::IsColorText(L"#FF8000"));
    EXPECT_TRUE(text::IsColorText(L"#FF"));
    EXPECT_FALSE(text::IsColorText(L"#GG8000"));
    EXPECT_FALSE(text::IsColorText(L"#1234567"));
    EXPECT_FALSE(text::IsColorText(L"#"));
    EXPECT_EQ(text::FormatColorText(Rgb(0x40, 0x80, 0xFF)), L"#4080FF");
    EXPECT_EQ(text::ParseColorText(text::FormatColorText(Rgb(1, 2, 3))), Rgb(1, 2, 3));
}

}  // namespace
