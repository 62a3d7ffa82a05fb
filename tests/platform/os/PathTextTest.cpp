#include <gtest/gtest.h>

#include "platform/os/PathText.h"

TEST(PathText, WindowsSeparatorsBecomeSingleSlashes)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"db\\Tolvenic_datav4.db", L"db/Tolvenic_datav4.db"},
        {L"/opt/t/language\\1033.lan", L"/opt/t/language/1033.lan"},
        {L"logo//left_logo.png", L"logo/left_logo.png"},
        {L"/a/\\/b\\\\c/", L"/a/b/c/"},
        {L"", L""},
    };
    for (const auto& [windows, linux] : cases) {
        EXPECT_EQ(os::NormalizePath(windows), linux);
    }
}
