#include "platform/text/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, RoundTripsEveryPlane)
{
    const std::wstring wide = L"A\u00e9\u4e2d\U0001F600";
    const std::string utf8 = text::WideToUtf8(wide);
    EXPECT_EQ(utf8, "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(text::Utf8ToWide(utf8), wide);
}

struct BadCase {
    const char* name;
    std::string bytes;
};

TEST(Utf8, InvalidSequencesAreRejectedAndReplaced)
{
    const BadCase cases[] = {
        {"lone continuation", "\x80"},
        {"truncated", "\xE4\xB8"},
        {"overlong slash", "\xC0\xAF"},
        {"surrogate", "\xED\xA0\x80"},
        {"past U+10FFFF", "\xF4\x90\x80\x80"},
        {"invalid lead", "\xFF"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(text::IsValidUtf8(c.bytes)) << c.name;
        const std::wstring wide = text::Utf8ToWide(c.bytes);
        ASSERT_FALSE(wide.empty()) << c.name;
        EXPECT_EQ(wide.front(), L'\uFFFD') << c.name;
    }
    EXPECT_TRUE(text::IsValidUtf8("plain \xE4\xB8\xAD"));
}

TEST(Utf8, LoneSurrogateInWideTextBecomesReplacement)
{
    const std::wstring wide{static_cast<wchar_t>(0xD800), L'x'};
    EXPECT_EQ(text::WideToUtf8(wide), "\xEF\xBF\xBDx");
}

}  // namespace
