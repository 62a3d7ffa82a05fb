#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/os/IniFile.h"
#include "platform/os/XdgPaths.h"
#include "platform/text/Utf8.h"
#include "support/PipeInPlace.h"

namespace {

std::string WriteFile(const std::string& name, const std::string& bytes)
{
    const std::string path = os::DataHome() + "/" + name;
    std::filesystem::create_directories(os::DataHome());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// UTF-16 bytes of ASCII/BMP text, with the mark.
std::string Utf16(const std::wstring& text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
        const char hi = static_cast<char>((c >> 8) & 0xFF);
        const char lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

const std::string kSample =
    "[CAPTION]\n1=Title band\n"
    "[KB.DIALOG]\n"
    "20=OK\r\n"
    "  23 =  Yes  \n"
    "25=\"  quoted  \"\n"
    "26=\n"
    "27\n"
    "30='half\n"
    "820=键盘未连接\n"
    "[Other]\n"
    "21=elsewhere\n";

TEST(IniFile, LooksUpValuesLikeTheProfileReader)
{
    const std::string path = WriteFile("sample.lan", kSample);
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"KB.DIALOG", L"20", L"OK"},
        {L"kb.dialog", L"23", L"Yes"},
        {L"KB.DIALOG", L"25", L"  quoted  "},
        {L"KB.DIALOG", L"26", L""},
        {L"KB.DIALOG", L"27", L""},
        {L"KB.DIALOG", L"30", L"'half"},
        {L"KB.DIALOG", L"820", L"键盘未连接"},
        {L"KB.DIALOG", L"21", L""},
        {L"KB.DIALOG", L"999", L""},
        {L"CAPTION", L"1", L"Title band"},
        {L"Missing", L"1", L""},
        {L"Other", L"21", L"elsewhere"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(os::ReadIniString(path, c.section, c.key), c.expected)
            << "[" << text::WideToUtf8(c.section) << "] " << text::WideToUtf8(c.key);
    }
}

TEST(IniFile, MissingFileGivesEmptyText)
{
    EXPECT_EQ(os::ReadIniString(os::DataHome() + "/nowhere.lan", L"KB.DIALOG", L"20"), L"");
    EXPECT_EQ(os::ReadIniString(os::DataHome(), L"KB.DIALOG", L"20"), L"") << "a folder";
    std::filesystem::create_directories(os::DataHome());
    const std::string pipe = os::DataHome() + "/pipe.lan";
    std::wstring value = L"stale";
    EXPECT_TRUE(testsupport::ReturnsWithoutWaitingOnPipe(pipe, [&] {
        value = os::ReadIniString(pipe, L"KB.DIALOG", L"20");
    })) << "a pipe is not waited on";
    EXPECT_EQ(value, L"");
}

TEST(IniFile, FileLongerThanTheLimitIsNotRead)
{
    const std::string path = WriteFile("limit.lan", "[KB.DIALOG]\n20=OK\n");  // 18 bytes
    ASSERT_TRUE(os::IniFile::Read(path, 18));
    EXPECT_EQ(os::IniFile::Read(path, 18)->Value(L"kb.dialog", L"20"), L"OK");
    EXPECT_FALSE(os::IniFile::Read(path, 17));
}

TEST(IniFile, LongValueIsCutTo259Characters)
{
    std::wstring value;
    for (int i = 0; i < 300; ++i) {
        value += static_cast<wchar_t>(L'a' + i % 26);
    }
    const std::string path =
        WriteFile("long.lan", "[KB.DIALOG]\n5=" + text::WideToUtf8(value) + "\n6=next\n");
    EXPECT_EQ(os::ReadIniString(path, L"KB.DIALOG", L"5"), value.substr(0, 259));
    EXPECT_EQ(os::ReadIniString(path, L"KB.DIALOG", L"6"), L"next");
    const std::wstring wide(259, L'键');
    const std::string widePath =
        WriteFile("longwide.lan", "[KB.DIALOG]\n5=" + text::WideToUtf8(wide + L"ab") + "\n");
    EXPECT_EQ(os::ReadIniString(widePath, L"KB.DIALOG", L"5"), wide);
}

TEST(IniFile, ReadsEveryEncodingWithOrWithoutItsMark)
{
    const std::wstring content = L"[KB.DIALOG]\r\n820=键盘 Ω\r\n";
    const std::pair<std::string, std::string> files[] = {
        {"utf8.lan", text::WideToUtf8(content)},
        {"utf8bom.lan", "\xEF\xBB\xBF" + text::WideToUtf8(content)},
        {"utf16le.lan", Utf16(content, false)},
        {"utf16be.lan", Utf16(content, true)},
        // UTF-16 without a mark is told by its zero bytes.
        {"utf16le-nomark.lan", Utf16(content, false).substr(2)},
        {"utf16be-nomark.lan", Utf16(content, true).substr(2)},
    };
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(os::ReadIniString(WriteFile(name, bytes), L"KB.DIALOG", L"820"), L"键盘 Ω")
            << name;
    }
}

TEST(IniFile, Utf16SurrogatePairIsOneCharacter)
{
    std::string bytes = Utf16(L"[S]\nk=", false);
    bytes += std::string("\x3D\xD8\x00\xDE", 4);  // U+1F600 as a little-endian pair
    bytes += Utf16(L"\n", false).substr(2);
    EXPECT_EQ(os::ReadIniString(WriteFile("pair.lan", bytes), L"S", L"k"), L"\U0001F600");
}

TEST(IniFile, BytesThatAreNotUtf8AreReadInTheAnsiCodePage)
{
    setenv("LC_ALL", "en_US.UTF-8", 1);
    const std::string path = WriteFile("ansi.lan", "[KB.DIALOG]\n20=caf\xE9\n");
    EXPECT_EQ(os::ReadIniString(path, L"KB.DIALOG", L"20"), L"café");
    unsetenv("LC_ALL");
}

}  // namespace
