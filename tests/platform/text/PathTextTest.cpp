#include "platform/text/PathText.h"

#include <gtest/gtest.h>

namespace {

TEST(PathText, UnifiesAndCollapsesSeparatorsOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/.local/share/Tolvenic Files/db\\QX71_datav4.db",
         "/home/u/.local/share/Tolvenic Files/db/QX71_datav4.db"},
        {"/opt/t/language\\1033.lan", "/opt/t/language/1033.lan"},
        {"/data//db\\\\x.db", "/data/db/x.db"},
        {"skin\\icon\\/btn.png", "skin/icon/btn.png"},
        {"logo//left_logo.png", "logo/left_logo.png"},
        {"/a/\\/b\\\\c/", "/a/b/c/"},
        {"//", "/"},
        {"relative", "relative"},
        {"trailing\\", "trailing/"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(text::NormalizePath(std::string(in)), out) << in;
    }
    EXPECT_EQ(text::NormalizePath(std::wstring(L"C:\\\u6587\u4ef6\\\\a")), L"C:/\u6587\u4ef6/a");
}

}  // namespace
