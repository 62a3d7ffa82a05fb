#include <gtest/gtest.h>

#include "platform/os/FileDialog.h"

namespace {

TEST(FileDialog, WindowsFilterPairsBecomeQtFilters)
{
    using namespace std::string_literals;
    struct Case {
        std::wstring filter;
        std::wstring qt;
    };
    const Case cases[] = {
        {L"Profile (*.xml)", L"Profile (*.xml)"},
        {L"Profile (*.xml)\0*.xml\0"s, L"Profile (*.xml)"},
        {L"Macros\0*.xml;*.txt\0All\0*\0\0"s, L"Macros (*.xml *.txt);;All (*)"},
        {L""s, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(os::QtFileFilter(c.filter), c.qt);
    }
}

}  // namespace
