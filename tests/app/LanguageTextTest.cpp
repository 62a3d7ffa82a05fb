#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "app/AppTestSupport.h"
#include "app/Environment.h"
#include "app/Language.h"
#include "app/LanguageTexts.h"
#include "platform/text/Utf8.h"

namespace {

class LanguageTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = apptest::FreshFolder("program");
        SetModuleFolder(text::Utf8ToWide(folder_.string()));
        apptest::WriteText(folder_ / "language/1033.lan",
                           "[CAPTION]\n1=Tolvenic\n[KB.DIALOG]\n20=OK\n820=No keyboard\n");
        apptest::WriteText(folder_ / "language/2052.lan", "[KB.DIALOG]\n20=确定\n");
    }
    void TearDown() override
    {
        SetModuleFolder(L"");
        CurrentLanguageId = 1033;
    }
    std::filesystem::path folder_;
};

TEST_F(LanguageTextTest, TextsComeFromTheCurrentLanguageFile)
{
    CurrentLanguageId = 1033;
    EXPECT_EQ(GetLanguageFilePath(), text::Utf8ToWide((folder_ / "language/1033.lan").string()));
    EXPECT_EQ(GetLanString(20), L"OK");
    EXPECT_EQ(GetLanString(820, L"KB.DIALOG"), L"No keyboard");
    EXPECT_EQ(GetLanString(1, L"CAPTION"), L"Tolvenic");
    EXPECT_EQ(GetLanString(1), L"Tolvenic") << "KB.DIALOG has no 1: the built-in text";
    CurrentLanguageId = 2052;
    EXPECT_EQ(GetLanString(20), L"确定");
    EXPECT_EQ(GetLanString(820), L"No keyboard detected. Please connect your keyboard.")
        << "the built-in English text, not another language file's";
    EXPECT_EQ(GetLanString(99999), L"") << "a number no text has";
}

// A file that cannot be used gives way to the English texts built into the program (the
// shipped 1033.lan), at once: a pipe is not waited on, an overlong file not read.
TEST_F(LanguageTextTest, UnusableFileGivesTheBuiltInEnglishTexts)
{
    const std::filesystem::path file = folder_ / "language/1041.lan";
    struct Case {
        const char* what;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"missing", [] {}},
        {"a pipe", [&] { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }},
        {"longer than the limit",
         [&] {
             apptest::WriteText(file, "[KB.DIALOG]\n20=Long\n");
             std::filesystem::resize_file(file, LanguageTexts::kMaxFileBytes + 1);
         }},
    };
    CurrentLanguageId = 1041;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(file);
        c.make();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(GetLanString(20), L"OK");
        EXPECT_EQ(GetLanString(1, L"CAPTION"), L"Tolvenic Driver");
        EXPECT_EQ(GetLanString(101), L"Profile");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
    std::filesystem::remove(file);
}

// A name is never made of a bare number: a blank word is the built-in English one.
TEST_F(LanguageTextTest, BlankNameWordIsTheBuiltInEnglishOne)
{
    apptest::WriteText(folder_ / "language/2052.lan", "[KB.DIALOG]\n101=\n331=新建宏\n");
    CurrentLanguageId = 2052;
    EXPECT_EQ(GetLanString(101), L"Profile");
    EXPECT_EQ(GetNameWord(101), L"Profile");
    EXPECT_EQ(GetNameWord(331), L"新建宏");
}

// Each file is read once: a window's worth of lookups costs about what its first one does,
// however long the file (here nearly the longest allowed), and a change on disk is seen.
TEST_F(LanguageTextTest, FileIsReadOnceAndAgainOnlyWhenChanged)
{
    std::string content = "[KB.DIALOG]\n20=Big\n";
    for (int i = 3000; content.size() < 900000; ++i) {
        content += std::to_string(i) + "=" + std::string(180, 'x') + "\n";
    }
    apptest::WriteText(folder_ / "language/1041.lan", content);
    CurrentLanguageId = 1041;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(GetLanString(20), L"Big");
    const auto first = std::chrono::steady_clock::now() - start;
    for (int i = 0; i < 300; ++i) {
        GetLanString(3000 + i);
    }
    const auto rest = std::chrono::steady_clock::now() - start - first;
    EXPECT_LT(rest, first * 30) << "300 lookups after the first";
    apptest::WriteText(folder_ / "language/1041.lan", "[KB.DIALOG]\n20=Changed\n");
    EXPECT_EQ(GetLanString(20), L"Changed");
    std::filesystem::remove(folder_ / "language/1041.lan");
}

TEST_F(LanguageTextTest, SkinPathIsUnderTheProgramFolder)
{
    MUI::Manager::SetTheme(L"dark");
    EXPECT_EQ(GetSkinPath(), text::Utf8ToWide((folder_ / "skins/dark").string()));
    MUI::Manager::SetTheme(L"default");
}

}  // namespace
