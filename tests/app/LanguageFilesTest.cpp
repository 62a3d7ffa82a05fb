// The language files and the configuration file installed beside the program: every text the
// windows look up exists in every language, the languages agree on their format placeholders,
// the files are plain UTF-8 profile files the INI reader takes as written, and config.xml lists
// exactly the languages that are installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/IniFile.h"
#include "platform/text/Utf8.h"
#include "xml/XmlDocument.h"

namespace {

namespace fs = std::filesystem;

struct NumberRange {
    int first;
    int last;
};

// Every number of section "KB.DIALOG" that the windows, messages and menus look up.
constexpr NumberRange kDialogNumbers[] = {
    {1, 3},       {11, 11},     {16, 17},     {20, 20},     {22, 23},     {25, 27},
    {30, 31},     {33, 33},     {35, 35},     {37, 39},     {41, 45},     {51, 56},
    {60, 64},     {70, 72},     {75, 77},     {80, 83},     {85, 86},     {95, 103},
    {105, 109},   {120, 125},   {130, 133},   {150, 158},   {201, 202},   {220, 221},
    {225, 229},   {235, 236},   {242, 247},   {261, 263},   {270, 272},   {280, 283},
    {300, 312},   {316, 324},   {326, 327},   {329, 329},   {331, 331},   {335, 337},
    {340, 345},   {360, 362},   {365, 365},   {498, 526},   {550, 582},   {590, 592},
    {600, 605},   {622, 635},   {637, 638},   {662, 662},   {701, 711},   {720, 731},
    {735, 738},   {741, 746},   {758, 765},   {769, 776},   {780, 782},   {786, 786},
    {800, 800},   {820, 821},   {830, 831},   {840, 860},   {1000, 1001}, {1030, 1035},
    {1050, 1057}, {1058, 1068},  // upgrade progress: 1058 + the upgrader's state 0..10
    {1099, 1100}, {1399, 1403}, {1600, 1601}, {1700, 1703}, {2000, 2005}, {2050, 2055},
    {2100, 2103}, {2300, 2303}, {2400, 2401}, {2500, 2502},
};

// The lighting mode rows name their list caption by number (music 661, user colours 662,
// built-in effects 663..684); a missing caption leaves an empty line in the mode list.
constexpr NumberRange kLightModeNumbers[] = {{661, 684}};

std::vector<int> LookedUpNumbers()
{
    std::vector<int> numbers;
    auto add = [&numbers](const auto& table) {
        for (const NumberRange& range : table) {
            for (int n = range.first; n <= range.last; ++n) {
                numbers.push_back(n);
            }
        }
    };
    add(kDialogNumbers);
    add(kLightModeNumbers);
    return numbers;
}

fs::path DataFolder()
{
    const char* root = std::getenv("TV_SOURCE_DIR");
    return fs::path(root ? root : ".") / "data";
}

std::string LanguageFile(int id)
{
    return (DataFolder() / "language" / (std::to_string(id) + ".lan")).string();
}

// The ids of the language files present, from their names "<id>.lan".
std::set<int> InstalledLanguages()
{
    std::set<int> ids;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(DataFolder() / "language", ec)) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() == ".lan" && !stem.empty() &&
            stem.find_first_not_of("0123456789") == std::string::npos) {
            ids.insert(std::stoi(stem));
        }
    }
    return ids;
}

std::wstring Text(int language, const wchar_t* section, int number)
{
    return os::ReadIniString(LanguageFile(language), section, std::to_wstring(number));
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The printf conversions of a text, in order ("%s", "%d", "%0.2f", "%%" ...); a '%' that starts
// no conversion is listed as it stands, so a stray one in a translation shows up too.
std::vector<std::wstring> Placeholders(std::wstring_view text)
{
    constexpr std::wstring_view kModifiers = L"-+ #0123456789.*hlLzjt";
    constexpr std::wstring_view kConversions = L"diouxXeEfFgGaAcCsSpn%";
    std::vector<std::wstring> found;
    std::size_t at = text.find(L'%');
    while (at != std::wstring_view::npos) {
        std::size_t end = at + 1;
        while (end < text.size() && kModifiers.find(text[end]) != std::wstring_view::npos) {
            ++end;
        }
        if (end < text.size() && kConversions.find(text[end]) != std::wstring_view::npos) {
            ++end;
        }
        found.emplace_back(text.substr(at, end - at));
        at = text.find(L'%', end);
    }
    return found;
}

// A key as the lookup writes it: decimal digits without a leading zero.
bool IsPlainDecimal(std::string_view key)
{
    return !key.empty() && key.find_first_not_of("0123456789") == std::string_view::npos &&
           (key.size() == 1 || key.front() != '0');
}

std::string Join(const std::vector<int>& numbers)
{
    std::ostringstream out;
    for (int n : numbers) {
        out << ' ' << n;
    }
    return out.str();
}

class LanguageFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        languages_ = InstalledLanguages();
        ASSERT_TRUE(languages_.count(1033)) << "English (1033.lan) is missing";
        ASSERT_TRUE(languages_.count(2052)) << "Simplified Chinese (2052.lan) is missing";
    }

    std::set<int> languages_;
};

TEST_F(LanguageFilesTest, EveryLookedUpNumberHasATextInEveryLanguage)
{
    for (int language : languages_) {
        std::vector<int> missing;
        for (int number : LookedUpNumbers()) {
            if (Text(language, L"KB.DIALOG", number).empty()) {
                missing.push_back(number);
            }
        }
        EXPECT_TRUE(missing.empty()) << language << ".lan has no text for" << Join(missing);
    }
}

TEST_F(LanguageFilesTest, CaptionSectionHoldsTheTitleAndTheSettingsText)
{
    for (int language : languages_) {
        EXPECT_FALSE(Text(language, L"CAPTION", 1).empty()) << language;
        EXPECT_FALSE(Text(language, L"CAPTION", 2).empty()) << language;
    }
}

TEST_F(LanguageFilesTest, PlaceholdersAgreeWithEnglish)
{
    for (int language : languages_) {
        std::vector<int> differing;
        for (int number : LookedUpNumbers()) {
            if (Placeholders(Text(language, L"KB.DIALOG", number)) !=
                Placeholders(Text(1033, L"KB.DIALOG", number))) {
                differing.push_back(number);
            }
        }
        for (int number : {1, 2}) {
            if (Placeholders(Text(language, L"CAPTION", number)) !=
                Placeholders(Text(1033, L"CAPTION", number))) {
                differing.push_back(number);
            }
        }
        EXPECT_TRUE(differing.empty())
            << language << ".lan differs from English in the placeholders of" << Join(differing);
    }
}

// What the reader would silently get wrong: a byte-order mark or broken UTF-8, a key written
// with leading zeros (looked up as "%d"), a key given twice (the first one wins), a value cut
// at 259 characters, or blanks and quotes that the reader strips.
TEST_F(LanguageFilesTest, FilesAreWrittenAsTheReaderTakesThem)
{
    for (int language : languages_) {
        const std::string bytes = ReadBytes(LanguageFile(language));
        SCOPED_TRACE(std::to_string(language) + ".lan");
        EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
        ASSERT_TRUE(text::IsValidUtf8(bytes));

        std::istringstream lines(bytes);
        std::string line;
        std::string section;
        std::map<std::string, std::set<std::string>> keys;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line.empty()) {
                continue;
            }
            if (line.front() == '[') {
                section = line;
                continue;
            }
            const std::size_t eq = line.find('=');
            ASSERT_NE(eq, std::string::npos) << line;
            const std::string key = line.substr(0, eq);
            EXPECT_TRUE(IsPlainDecimal(key)) << line;
            EXPECT_FALSE(section.empty()) << "entry outside a section: " << line;
            EXPECT_TRUE(keys[section].insert(key).second) << "given twice: " << line;
            const std::wstring value = text::Utf8ToWide(std::string_view(line).substr(eq + 1));
            EXPECT_LE(value.size(), os::kIniValueMax) << line;
            EXPECT_FALSE(value.empty()) << line;
            if (!value.empty()) {
                EXPECT_NE(value.front(), L' ') << line;
                EXPECT_NE(value.back(), L' ') << line;
                const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                                    (value.front() == L'"' || value.front() == L'\'');
                EXPECT_FALSE(quoted) << line;
            }
        }
        EXPECT_EQ(keys.count("[KB.DIALOG]"), 1u);
        EXPECT_EQ(keys.count("[CAPTION]"), 1u);
    }
}

// Default profile and macro names are stored in the language they were made in and renamed
// by prefix after a language change; only these prefixes are recognised.
TEST_F(LanguageFilesTest, DefaultNamesUseARecognisedPrefix)
{
    const std::set<std::wstring> profilePrefixes = {L"Profile", L"配置方案"};
    const std::set<std::wstring> macroPrefixes = {L"New Macro", L"新建巨集", L"新建宏"};
    for (int language : languages_) {
        EXPECT_TRUE(profilePrefixes.count(Text(language, L"KB.DIALOG", 101))) << language;
        EXPECT_TRUE(macroPrefixes.count(Text(language, L"KB.DIALOG", 331))) << language;
    }
    EXPECT_EQ(Text(1033, L"KB.DIALOG", 101), L"Profile");
    EXPECT_EQ(Text(2052, L"KB.DIALOG", 101), L"配置方案");
    EXPECT_EQ(Text(1033, L"KB.DIALOG", 331), L"New Macro");
}

// config.xml read with the program's XML class in the order the program reads it: the language
// list at start-up, then the software element with its children website, store, upgrade (each
// search going on after the previous match).
struct AppConfigFile {
    bool readable = false;
    std::wstring defaultLanguage;
    std::set<int> languages;
    std::wstring deviceName;
    std::wstring version;
    std::wstring storeUrl;
};

AppConfigFile ReadAppConfig()
{
    AppConfigFile config;
    std::wstring text;
    int flags = 0;
    const std::wstring path = text::Utf8ToWide((DataFolder() / "config.xml").string());
    XmlDocument doc;
    if (!XmlDocument::LoadFile(text, nullptr, path, &flags) || !doc.SetText(text) ||
        !doc.FindElement(L"config") || !doc.EnterElement()) {
        return config;
    }
    config.readable = true;
    if (doc.FindElement(L"language.info")) {
        config.defaultLanguage = doc.GetAttribute(L"default_lan");
        if (doc.EnterElement()) {
            while (doc.FindElement(L"lan")) {
                config.languages.insert(
                    std::wcstol(doc.GetAttribute(L"value").c_str(), nullptr, 10));
            }
            doc.LeaveElement();
        }
    }
    if (doc.FindElement(L"software")) {
        config.deviceName = doc.GetAttribute(L"name");
        config.version = doc.GetAttribute(L"version");
        if (doc.EnterElement()) {
            doc.FindElement(L"website");
            if (doc.FindElement(L"store")) {
                config.storeUrl = doc.GetAttribute(L"url");
            }
            doc.LeaveElement();
        }
    }
    return config;
}

TEST(ConfigXmlTest, ListsExactlyTheInstalledLanguagesWithEnglishAsDefault)
{
    const AppConfigFile config = ReadAppConfig();
    ASSERT_TRUE(config.readable);
    EXPECT_EQ(config.languages, InstalledLanguages());
    EXPECT_EQ(config.defaultLanguage, L"1033");
}

TEST(ConfigXmlTest, SoftwareElementNamesTheDeviceVersionAndStore)
{
    const AppConfigFile config = ReadAppConfig();
    ASSERT_TRUE(config.readable);
    EXPECT_EQ(config.deviceName, L"Tolvenic");
    // Compared part by part with the server's version text: dotted decimal numbers.
    const std::wstring& version = config.version;
    EXPECT_NE(version.find(L'.'), std::wstring::npos);
    EXPECT_FALSE(version.ends_with(L'.'));
    std::wistringstream parts(version);
    for (std::wstring part; std::getline(parts, part, L'.');) {
        EXPECT_TRUE(!part.empty() && part.find_first_not_of(L"0123456789") == std::wstring::npos)
            << text::WideToUtf8(version);
    }
    // Found only when it stands after the website link.
    EXPECT_TRUE(config.storeUrl.starts_with(L"https://")) << text::WideToUtf8(config.storeUrl);
}

}  // namespace
