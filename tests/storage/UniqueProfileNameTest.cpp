#include "storage/UniqueProfileName.h"

#include <gtest/gtest.h>

namespace {

TEST(MakeUniqueProfileName, FirstFreeNumberCaseSensitive)
{
    EXPECT_EQ(MakeUniqueProfileName(L"Profile", {}), L"Profile 1");
    EXPECT_EQ(MakeUniqueProfileName(L"Profile", {L"Profile 1", L"Profile 2"}), L"Profile 3");
    EXPECT_EQ(MakeUniqueProfileName(L"Profile", {L"profile 1", L"Profile 2"}), L"Profile 1");
    EXPECT_EQ(MakeUniqueProfileName(L"Profile", {L"Profile 2"}), L"Profile 1");
}

TEST(MakeUniqueProfileName, GivesUpAtAThousand)
{
    std::vector<std::wstring> names;
    for (int n = 1; n <= 1000; ++n) {
        names.push_back(L"P " + std::to_wstring(n));
    }
    EXPECT_EQ(MakeUniqueProfileName(L"P", names), L"P 1000");
}

}  // namespace
