#include "storage/NormalizePath.h"

#include <gtest/gtest.h>

namespace {

TEST(NormalizePath, UnifiesAndCollapsesSeparatorsOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/.local/share/Tolvenic Files/db\\QX71_datav4.db",
         "/home/u/.local/share/Tolvenic Files/db/QX71_datav4.db"},
        {"/data//db\\\\x.db", "/data/db/x.db"},
        {"skin\\icon\\/btn.png", "skin/icon/btn.png"},
        {"logo//left_logo.png", "logo/left_logo.png"},
        {"//", "/"},
        {"relative", "relative"},
        {"trailing\\", "trailing/"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(storage::NormalizePath(std::string(in)), out) << in;
    }
    EXPECT_EQ(storage::NormalizePath(std::wstring(L"C:\\\u6587\u4ef6\\\\a")), L"C:/\u6587\u4ef6/a");
}

}  // namespace
