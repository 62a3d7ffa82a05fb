#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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

TEST(FileDialog, SuggestedFilesLieInTheDocumentsFolderOrHomeUnderASafeName)
{
    namespace fs = std::filesystem;
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    const fs::path documents = fs::path(home) / "Documents";
    fs::remove_all(documents);
    EXPECT_EQ(fs::path(os::DefaultFileFolder()), fs::path(home));
    fs::create_directories(documents);
    EXPECT_EQ(fs::path(os::DefaultFileFolder()), documents);
    const struct {
        const wchar_t* name;
        const wchar_t* file;
    } cases[] = {
        {L"Profile 2", L"Profile 2.xml"},
        {L"a/b\\c:d*e?f", L"a_b_c_d_e_f.xml"},
        {L"", L"file.xml"},
        {L"..", L"file.xml"},
        {L".hidden", L"_hidden.xml"},
        {L"\x914D\x7F6E", L"\x914D\x7F6E.xml"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(os::SuggestedFilePath(c.name, L"xml"), documents.wstring() + L"/" + c.file);
    }
    fs::remove_all(documents);
}

}  // namespace
