#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include <filesystem>

#include "app/AppTestSupport.h"
#include "app/Environment.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Registry.h"

namespace {

struct Case {
    const char* what;
    std::optional<std::wstring> storedLcid;  // nothing: first run, no key yet
    std::set<int> listed;
    const char* userLocale;
    int expectedCurrent;
    std::wstring expectedLcid;
};

TEST(LanguageChoice, FollowsTheRegistryThenTheUserLanguage)
{
    const Case cases[] = {
        {"first run, user language listed",
         std::nullopt,
         {1033, 2052},
         "zh_CN.UTF-8",
         2052,
         L"2052"},
        {"first run, user language not listed",
         std::nullopt,
         {1033, 2052},
         "ja_JP.UTF-8",
         1041,
         L"1033"},
        {"stored listed id", L"2052", {1033, 2052}, "en_US.UTF-8", 2052, L"2052"},
        {"stored id no longer listed", L"1041", {1033, 2052}, "en_US.UTF-8", 1041, L"1033"},
        {"stored value not a number", L"x", {1033, 2052}, "zh_CN.UTF-8", 2052, L"2052"},
        {"empty value", L"", {1033, 2052}, "zh_CN.UTF-8", 2052, L"2052"},
        {"nothing listed (no config)", std::nullopt, {}, "zh_CN.UTF-8", 2052, L"1033"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        apptest::FreshDeviceName();
        if (c.storedLcid) {
            ASSERT_TRUE(os::RegCreateKey(DeviceRegistryKey()));
            ASSERT_TRUE(os::RegWriteString(DeviceRegistryKey(), L"LCID", *c.storedLcid));
        }
        SupportedLanguages = c.listed;
        setenv("LC_ALL", c.userLocale, 1);
        InitLanguage();
        unsetenv("LC_ALL");
        EXPECT_EQ(CurrentLanguageId.load(), c.expectedCurrent);
        EXPECT_EQ(os::RegReadString(DeviceRegistryKey(), L"LCID"), c.expectedLcid);
        // The next start uses what was stored.
        InitLanguage();
        EXPECT_EQ(CurrentLanguageId.load(), DecimalTextToInt(c.expectedLcid));
    }
    SupportedLanguages.clear();
}

TEST(LanguageChoice, LanguageFileWithoutTextsFallsBackToEnglish)
{
    // UTF-16 without a mark reads; a file that yields no text at all (here UTF-32) gives way
    // to 1033 for this run, and the stored choice stays.
    const auto folder = apptest::FreshFolder("languages");
    std::filesystem::create_directories(folder / "language");
    const std::wstring text = L"[KB.DIALOG]\r\n1=\u952e\u76d8\r\n";
    std::string utf16;
    std::string utf32;
    for (const wchar_t c : text) {
        utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        utf32 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8), '\0', '\0'};
    }
    SetModuleFolder(folder.wstring() + L"/");
    SupportedLanguages = {1033, 2052};
    const std::pair<std::string, int> cases[] = {{utf16, 2052}, {utf32, 1033}};
    for (const auto& [bytes, expected] : cases) {
        apptest::FreshDeviceName();
        ASSERT_TRUE(os::RegCreateKey(DeviceRegistryKey()));
        ASSERT_TRUE(os::RegWriteString(DeviceRegistryKey(), L"LCID", L"2052"));
        apptest::WriteText(folder / "language" / "2052.lan", bytes);
        InitLanguage();
        EXPECT_EQ(CurrentLanguageId.load(), expected);
        if (expected == 2052) {
            EXPECT_EQ(GetLanString(1), L"\u952e\u76d8");
        }
        EXPECT_EQ(os::RegReadString(DeviceRegistryKey(), L"LCID"), L"2052");
    }
    SetModuleFolder(L"");
    SupportedLanguages.clear();
}

// A default language file that gives no texts is told on standard error and stood in for by
// the built-in English texts; one that gives some is used, text by text.
TEST(LanguageChoice, DefaultLanguageFileWithoutTextsIsTold)
{
    const auto folder = apptest::FreshFolder("default-language");
    const std::string file = (folder / "language" / "1033.lan").string();
    SetModuleFolder(folder.wstring() + L"/");
    SupportedLanguages = {1033};
    struct FileCase {
        const char* what;
        std::string bytes;
        bool told;
        const wchar_t* caption;
    };
    const FileCase cases[] = {
        {"empty", "", true, L"Tolvenic Driver"},
        {"garbage",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         true, L"Tolvenic Driver"},
        {"only empty texts", "[CAPTION]\n1=\n[KB.DIALOG]\n1=\n20=\n", true, L"Tolvenic Driver"},
        {"some texts", "[CAPTION]\n1=Mine\n", false, L"Mine"},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        apptest::FreshDeviceName();
        apptest::WriteText(file, c.bytes);
        testing::internal::CaptureStderr();
        InitLanguage();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(CurrentLanguageId.load(), 1033);
        EXPECT_EQ(said.find(file + " gives no texts: using the built-in English texts") !=
                      std::string::npos,
                  c.told)
            << said;
        EXPECT_EQ(GetLanString(1, L"CAPTION"), c.caption);
        EXPECT_EQ(GetLanString(20), L"OK");
    }
    SetModuleFolder(L"");
    SupportedLanguages.clear();
}

TEST(LanguageChoice, StoredListedIdIsUsedWithoutWriting)
{
    apptest::FreshDeviceName();
    ASSERT_TRUE(os::RegCreateKey(DeviceRegistryKey()));
    ASSERT_TRUE(os::RegWriteString(DeviceRegistryKey(), L"LCID", L"2052"));
    const auto before = os::ReadWholeFile(apptest::RegistryFile().string());
    const auto stamp = std::filesystem::last_write_time(apptest::RegistryFile());
    SupportedLanguages = {1033, 2052};
    InitLanguage();
    EXPECT_EQ(CurrentLanguageId.load(), 2052);
    EXPECT_EQ(os::ReadWholeFile(apptest::RegistryFile().string()), before);
    EXPECT_EQ(std::filesystem::last_write_time(apptest::RegistryFile()), stamp);
    SupportedLanguages.clear();
}

}  // namespace
