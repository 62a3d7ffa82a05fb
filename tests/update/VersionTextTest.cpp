// Version texts: numeric comparison part by part, the keyboard's "%x" release number compared
// as hexadecimal, splitting, and the check a server's text must pass before it is used.
#include <gtest/gtest.h>

#include <string>

#include "update/VersionText.h"

namespace {

struct CompareCase {
    const wchar_t* a;
    const wchar_t* b;
    int base;
    int expected;
};

TEST(VersionTextTest, ComparesPartsAsNumbers)
{
    const CompareCase cases[] = {
        {L"1.0.2", L"1.0.10", 10, VERSION_OLDER},
        {L"1.0", L"1.0.0", 10, VERSION_MISMATCH},
        {L"2.0", L"1.9", 10, VERSION_NEWER},
        {L"1.0.0.2", L"1.0.0.2", 10, VERSION_SAME},
        {L"1.x", L"1.0", 10, VERSION_SAME},  // no leading digits read as 0
        // The keyboard with release number 0x105 against the server's texts.
        {L"105", L"105", 16, VERSION_SAME},
        {L"105", L"106", 16, VERSION_OLDER},
        {L"105", L"1.0.6", 16, VERSION_MISMATCH},
        {L"10a", L"110", 16, VERSION_OLDER},  // 0x10a < 0x110, though "10a" reads as 10
        {L"1a0", L"1b", 16, VERSION_NEWER},
        {L"1a0", L"1b", 10, VERSION_SAME},  // the decimal reading gets it wrong
        {L"99999999999999999999999", L"1", 10, VERSION_NEWER},
    };
    for (const CompareCase& c : cases) {
        EXPECT_EQ(CompareVersion(c.a, c.b, c.base), c.expected) << c.a << " vs " << c.b;
    }
}

TEST(VersionTextTest, SplitsAtEverySeparator)
{
    EXPECT_EQ(SplitString(L"", L"."), std::vector<std::wstring>{L""});
    EXPECT_EQ(SplitString(L"1.2", L"."), (std::vector<std::wstring>{L"1", L"2"}));
    EXPECT_EQ(SplitString(L"1.", L"."), (std::vector<std::wstring>{L"1", L""}));
    EXPECT_EQ(SplitString(L"a::b", L"::"), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(VersionTextTest, OnlyCleanVersionTextsPass)
{
    const struct {
        const wchar_t* text;
        size_t max;
        bool hex;
        const wchar_t* expected;
    } cases[] = {
        {L"1.0.0.3\n", 10, false, L"1.0.0.3"},
        {L"  106 \r\n", 9, false, L"106"},
        {L"10a", 9, true, L"10a"},
        {L"10a", 9, false, L""},
        {L"1.0.0.0003", 10, false, L"1.0.0.0003"},
        {L"1.0.0.00003", 10, false, L""},  // too long
        {L"", 10, false, L""},
        {L"<html>404</html>", 100, false, L""},
        {L"1..2", 10, false, L""},
        {L".1", 10, false, L""},
        {L"1/../x", 10, false, L""},
        {L"1 2", 10, false, L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CleanVersionText(c.text, c.max, c.hex), c.expected) << c.text;
    }
}

}  // namespace
