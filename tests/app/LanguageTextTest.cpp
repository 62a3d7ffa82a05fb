#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/Environment.h"
#include "app/Language.h"
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
    EXPECT_EQ(GetLanString(1), L"") << "KB.DIALOG has no 1";
    CurrentLanguageId = 2052;
    EXPECT_EQ(GetLanString(20), L"确定");
    EXPECT_EQ(GetLanString(820), L"") << "no fallback to another language";
    CurrentLanguageId = 1041;
    EXPECT_EQ(GetLanString(20), L"") << "missing file";
}

TEST_F(LanguageTextTest, SkinPathIsUnderTheProgramFolder)
{
    MUI::Manager::SetTheme(L"dark");
    EXPECT_EQ(GetSkinPath(), text::Utf8ToWide((folder_ / "skins/dark").string()));
    MUI::Manager::SetTheme(L"default");
}

}  // namespace
