#include "platform/text/Parenthesized.h"

#include <gtest/gtest.h>

namespace {

TEST(ParenthesizedTest, BracketsFollowTheScriptOfTheText)
{
    const struct {
        const wchar_t* text;
        const wchar_t* inner;
        const wchar_t* expected;
    } cases[] = {
        {L"Priority", L"W", L"Priority (W)"},
        {L"\x4F18\x5148", L"W", L"\x4F18\x5148\xFF08W\xFF09"},
        {L"", L"A", L" (A)"},
        // A Latin text with a CJK key name keeps the Latin brackets.
        {L"Stroke", L"\x304B\x306A", L"Stroke (\x304B\x306A)"},
        {L"\xD55C", L"A",
         L"\xD55C\xFF08"
         L"A\xFF09"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Parenthesized(c.text, c.inner), c.expected) << c.expected;
    }
}

}  // namespace
