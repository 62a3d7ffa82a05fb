#include "platform/text/CodePage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct RoundTrip {
    unsigned codePage;
    std::wstring wide;
    std::string bytes;
};

TEST(CodePage, ConvertsBothWays)
{
    const RoundTrip cases[] = {
        {1252, L"caf\u00e9 \u20ac", "caf\xE9 \x80"},
        {936, L"\u4e2d\u6587", "\xD6\xD0\xCE\xC4"},
        {932, L"\u65e5\u672c", "\x93\xFA\x96\x7B"},
        {949, L"\ud55c", "\xC7\xD1"},
        {28592, L"\u0141", "\xA3"},
        {1251, L"\u0410", "\xC0"},
        {65001, L"\u00e9\U0001F600", "\xC3\xA9\xF0\x9F\x98\x80"},
        {20127, L"plain", "plain"},
        {1201, L"\U0001F600", std::string("\xD8\x3D\xDE\x00", 4)},
    };
    for (const auto& c : cases) {
        std::wstring wide;
        ASSERT_TRUE(text::MultiByteToWide(c.codePage, c.bytes, wide)) << c.codePage;
        EXPECT_EQ(wide, c.wide) << c.codePage;
        std::string bytes;
        bool lost = true;
        ASSERT_TRUE(text::WideToMultiByte(c.codePage, c.wide, bytes, &lost)) << c.codePage;
        EXPECT_EQ(bytes, c.bytes) << c.codePage;
        EXPECT_FALSE(lost) << c.codePage;
    }
}

TEST(CodePage, MissingCharactersBecomeTheDefaultCharacter)
{
    std::string bytes;
    bool lost = false;
    // A surrogate pair counts as one character; a lone surrogate has no equivalent.
    const std::wstring wide = std::wstring(L"a\u4e2d") + static_cast<wchar_t>(0xD83D) +
                              static_cast<wchar_t>(0xDE00) + static_cast<wchar_t>(0xDC00) + L"b";
    ASSERT_TRUE(text::WideToMultiByte(1252, wide, bytes, &lost));
    EXPECT_EQ(bytes, "a???b");
    EXPECT_TRUE(lost);
    ASSERT_TRUE(text::WideToMultiByte(37, L"A\u4e2d", bytes, &lost));
    EXPECT_EQ(bytes, "\xC1\x6F");  // EBCDIC "A?"
    EXPECT_TRUE(lost);
}

TEST(CodePage, BadBytesBecomeReplacementCharacters)
{
    std::wstring wide;
    ASSERT_TRUE(text::MultiByteToWide(936, "a\xFF\xD6", wide));
    EXPECT_EQ(wide, L"a\uFFFD\uFFFD");
    ASSERT_TRUE(text::MultiByteToWide(65001, "\xC3", wide));
    EXPECT_EQ(wide, L"\uFFFD");
    ASSERT_TRUE(text::MultiByteToWide(932, "", wide));
    EXPECT_EQ(wide, L"");
}

TEST(CodePage, UnknownCodePagesAreRefused)
{
    std::wstring wide = L"x";
    std::string bytes = "x";
    EXPECT_FALSE(text::MultiByteToWide(12345, "abc", wide));
    EXPECT_EQ(wide, L"");
    EXPECT_FALSE(text::WideToMultiByte(12345, L"abc", bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_FALSE(text::IsCodePageSupported(12345));
    for (unsigned cp :
         {37u,    437u,   850u,   874u,   932u,   936u,   949u,   950u,   1250u,  1252u,  1258u,
          10000u, 20127u, 20866u, 20932u, 28591u, 28605u, 50220u, 51949u, 54936u, 65000u, 65001u}) {
        EXPECT_TRUE(text::IsCodePageSupported(cp)) << cp;
    }
}

TEST(CodePage, NamesAndIdsMapBothWays)
{
    const struct {
        const char* name;
        unsigned codePage;
    } cases[] = {
        {"UTF-8", 65001},  {"Shift_JIS", 932},    {"GB2312", 936},     {"ks_c_5601-1987", 949},
        {"big5", 950},     {"ISO-8859-1", 28591}, {"latin1", 28591},   {"windows-1252", 1252},
        {"koi8-r", 20866}, {"us-ascii", 20127},   {"no-such-name", 0}, {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::CodePageFromName(std::string_view(c.name)), c.codePage) << c.name;
    }
    EXPECT_EQ(text::CodePageFromName(std::wstring_view(L"Euc-Kr")), 51949u);
    EXPECT_EQ(text::CodePageFromName(std::wstring_view(L"utf-8\u00e9")), 0u);
    EXPECT_EQ(text::CodePageName(65001), "utf-8");
    EXPECT_EQ(text::CodePageName(1252), "windows-1252");
    EXPECT_EQ(text::CodePageName(28592), "iso-8859-2");
    EXPECT_EQ(text::CodePageName(4), "");
}

TEST(CodePage, AnsiCodePageFollowsTheLocaleLanguage)
{
    const char* saved[3];
    const char* vars[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    std::string keep[3];
    for (int i = 0; i < 3; ++i) {
        saved[i] = std::getenv(vars[i]);
        keep[i] = saved[i] != nullptr ? saved[i] : "";
        unsetenv(vars[i]);
    }
    EXPECT_EQ(text::GetAnsiCodePage(), 1252u);
    const struct {
        const char* var;
        const char* value;
        unsigned codePage;
    } cases[] = {
        {"LANG", "zh_CN.UTF-8", 936},
        {"LANG", "ja_JP.UTF-8", 932},
        {"LANG", "ko_KR", 949},
        {"LANG", "de_DE.UTF-8", 1252},
        {"LANG", "C", 1252},
        {"LC_CTYPE", "ja_JP", 932},      // LC_CTYPE before LANG
        {"LC_ALL", "ko_KR.UTF-8", 949},  // LC_ALL before both
    };
    for (const auto& c : cases) {
        setenv(c.var, c.value, 1);
        EXPECT_EQ(text::GetAnsiCodePage(), c.codePage) << c.var << "=" << c.value;
    }
    for (int i = 0; i < 3; ++i) {
        if (saved[i] != nullptr) {
            setenv(vars[i], keep[i].c_str(), 1);
        } else {
            unsetenv(vars[i]);
        }
    }
}

}  // namespace
