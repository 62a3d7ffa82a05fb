#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/text/Utf8.h"
#include "support/PipeInPlace.h"
#include "xml/XmlDocument.h"
#include "xml/XmlEncoding.h"

namespace {

namespace fs = std::filesystem;

class XmlFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ =
            fs::path(std::getenv("HOME")) /
            ("xml-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
        const char* old = std::getenv("LC_ALL");
        oldLocale_ = old != nullptr ? old : "";
        setenv("LC_ALL", "en_US.UTF-8", 1);  // ANSI code page 1252
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
        setenv("LC_ALL", oldLocale_.c_str(), 1);
    }

    std::wstring PathOf(const std::string& name) const
    {
        return text::Utf8ToWide((dir_ / name).string());
    }
    std::wstring Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return PathOf(name);
    }
    std::string Read(const std::wstring& path) const
    {
        std::ifstream in(text::WideToUtf8(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
    std::string oldLocale_;
};

struct LoadCase {
    const char* what;
    std::string bytes;
    std::wstring text;
    int flags;
    std::wstring log;
};

TEST_F(XmlFileTest, LoadFindsTheEncoding)
{
    const LoadCase cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF<a>\xC3\xA9</a>", L"<a>\u00e9</a>", kXmlDocUtf8Bom,
         L"<bom/><read encoding=\"UTF-8\" length=\"9\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"8\"/>"},
        {"UTF-16LE with mark", std::string("\xFF\xFE<\0a\0>\0\xE9\0", 10), L"<a>\u00e9",
         kXmlDocUtf16Le,
         L"<bom/><read encoding=\"UTF-16LE\" length=\"4\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"4\"/>"},
        {"UTF-16BE with mark", std::string("\xFE\xFF\0<\0a\0>\0\xE9", 10), L"<a>\u00e9",
         kXmlDocUtf16Be,
         L"<bom/><read encoding=\"UTF-16BE\" length=\"4\"/><endian_swap/>"
         L"<converted_to encoding=\"UTF-16\" length=\"4\"/>"},
        {"declared UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>",
         L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\u00e9</a>", 0,
         L"<read encoding=\"UTF-8\" length=\"47\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"46\"/>"},
        {"starts with <", "<a>\xC3\xA9</a>", L"<a>\u00e9</a>", 0,
         L"<read encoding=\"UTF-8\" length=\"9\"/><converted_to encoding=\"UTF-16\" "
         L"length=\"8\"/>"},
        {"valid UTF-8, no declaration", " <a>\xC3\xA9</a>", L" <a>\u00e9</a>", 0,
         L"<read encoding=\"UTF-8\" length=\"10\"/><utf8_detection/>"
         L"<converted_to encoding=\"UTF-16\" length=\"9\"/>"},
        {"not UTF-8, no declaration", " <a>\xE9\x80</a>", L" <a>\u00e9\u20ac</a>", 0,
         L"<read encoding=\"\" length=\"10\"/><utf8_detection/>"
         L"<converted_to encoding=\"UTF-16\" length=\"10\"/>"},
        {"declared code page", "<?xml version='1.0' encoding='gb2312'?><a>\xD6\xD0</a>",
         L"<?xml version='1.0' encoding='gb2312'?><a>\u4e2d</a>", 0,
         L"<read encoding=\"gb2312\" length=\"48\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"47\"/>"},
        {"html charset",
         "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset = "
         "windows-1251\"></head>\xC0</html>",
         L"<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset = "
         L"windows-1251\"></head>\u0410</html>",
         0,
         L"<read encoding=\"windows-1251\" length=\"103\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"103\"/>"},
        {"8-bit file declaring UTF-32", "<?xml encoding='utf-32'?><a>\xC3\xA9</a>",
         L"<?xml encoding='utf-32'?><a>\u00e9</a>", 0,
         L"<read encoding=\"utf-32\" length=\"34\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"33\"/>"},
        {"zero bytes", std::string("<a>\0x\0</a>", 10), L"<a>x</a>", 0,
         L"<read encoding=\"UTF-8\" length=\"10\"/><nulls_removed count=\"2\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"8\"/>"},
        {"surrogate pair", std::string("\xFF\xFE<\0\x3D\xD8\x00\xDE", 8),
         L"<" + std::wstring(1, static_cast<wchar_t>(0x1F600)), kXmlDocUtf16Le,
         L"<bom/><read encoding=\"UTF-16LE\" length=\"3\"/>"
         L"<converted_to encoding=\"UTF-16\" length=\"2\"/>"},
        {"empty file", "", L"", 0,
         L"<read encoding=\"UTF-8\" length=\"0\"/><utf8_detection/>"
         L"<converted_to encoding=\"UTF-16\" length=\"0\"/>"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::wstring path = Write("load" + std::to_string(n++), c.bytes);
        std::wstring text = L"stale";
        std::wstring log;
        int flags = kXmlDocUtf16Be | kXmlDocReadingFile;
        ASSERT_TRUE(XmlDocument::LoadFile(text, &log, path, &flags)) << c.what << log;
        EXPECT_EQ(text, c.text) << c.what;
        EXPECT_EQ(flags, c.flags) << c.what;
        EXPECT_EQ(log, c.log) << c.what;
    }
}

TEST_F(XmlFileTest, UnreadableFilesGiveFalseAndAFileError)
{
    std::wstring text = L"stale";
    std::wstring log;
    EXPECT_FALSE(XmlDocument::LoadFile(text, &log, PathOf("absent.xml"), nullptr));
    EXPECT_EQ(text, L"");
    EXPECT_EQ(log, L"<file_error msg=\"No such file or directory\" n=\"2\"/>");
    EXPECT_FALSE(XmlDocument::LoadFile(text, &log, text::Utf8ToWide(dir_.string()), nullptr));
    EXPECT_NE(log.find(L"<file_error"), std::wstring::npos);
    // A huge file is refused before anything is read (the file is sparse: no disk is used).
    const std::wstring huge = Write("huge.xml", "<a/>");
    fs::resize_file(text::WideToUtf8(huge), 300u << 20);
    text = L"stale";
    EXPECT_FALSE(XmlDocument::LoadFile(text, &log, huge, nullptr));
    EXPECT_EQ(text, L"");
    EXPECT_EQ(log, L"<file_error msg=\"File too large\" n=\"27\"/>");
    EXPECT_FALSE(XmlDocument::SaveFile(L"<a/>", &log, PathOf("no/such/dir.xml"), nullptr));
    EXPECT_NE(log.find(L"<file_error"), std::wstring::npos);
    // A pipe in the file's place is refused at once, never waited on, to load or to save.
    const std::wstring pipe = PathOf("pipe.xml");
    bool loaded = true;
    bool saved = true;
    EXPECT_TRUE(testsupport::ReturnsWithoutWaitingOnPipe(text::WideToUtf8(pipe), [&] {
        loaded = XmlDocument::LoadFile(text, &log, pipe, nullptr);
    }));
    EXPECT_FALSE(loaded);
    EXPECT_NE(log.find(L"<file_error"), std::wstring::npos);
    EXPECT_TRUE(testsupport::ReturnsWithoutWaitingOnPipe(text::WideToUtf8(pipe), [&] {
        saved = XmlDocument::SaveFile(L"<a/>", &log, pipe, nullptr);
    }));
    EXPECT_FALSE(saved);
}

struct SaveCase {
    const char* what;
    std::wstring text;
    int flags;
    std::string bytes;
    std::wstring log;
};

TEST_F(XmlFileTest, SaveConvertsToTheChosenOrDeclaredEncoding)
{
    const SaveCase cases[] = {
        {"no declaration", L"<a>\u00e9</a>", 0, "<a>\xC3\xA9</a>",
         L"<converted_from encoding=\"UTF-16\" length=\"8\"/><write encoding=\"UTF-8\" "
         L"length=\"9\"/>"},
        {"UTF-8 mark", L"<a/>", kXmlDocUtf8Bom, "\xEF\xBB\xBF<a/>",
         L"<bom/><converted_from encoding=\"UTF-16\" length=\"4\"/>"
         L"<write encoding=\"UTF-8\" length=\"4\"/>"},
        {"UTF-16LE mark", L"<\U0001F600", kXmlDocUtf16Le,
         std::string("\xFF\xFE<\0\x3D\xD8\x00\xDE", 8),
         L"<bom/><converted_from encoding=\"UTF-16\" length=\"2\"/>"
         L"<write encoding=\"UTF-16LE\" length=\"3\"/>"},
        {"UTF-16BE mark", L"<a", kXmlDocUtf16Be, std::string("\xFE\xFF\0<\0a", 6),
         L"<bom/><endian_swap/><converted_from encoding=\"UTF-16\" length=\"2\"/>"
         L"<write encoding=\"UTF-16BE\" length=\"2\"/>"},
        {"declared code page with a loss",
         L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\u00e9\u4e2d</a>", 0,
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\xE9?</a>",
         L"<converted_from encoding=\"UTF-16\" length=\"54\"/><conversion_loss/>"
         L"<write encoding=\"windows-1252\" length=\"54\"/>"},
        {"declared double-byte code page", L"<?xml encoding=\"GBK\"?><a>\u4e2d</a>", 0,
         "<?xml encoding=\"GBK\"?><a>\xD6\xD0</a>",
         L"<converted_from encoding=\"UTF-16\" length=\"30\"/>"
         L"<write encoding=\"GBK\" length=\"31\"/>"},
        // Two marks asked for: the first in the order UTF-8, UTF-16LE, UTF-16BE gives the mark
        // and the encoding alike.
        {"UTF-8 and UTF-16LE marks", L"<a/>", kXmlDocUtf8Bom | kXmlDocUtf16Le, "\xEF\xBB\xBF<a/>",
         L"<bom/><converted_from encoding=\"UTF-16\" length=\"4\"/>"
         L"<write encoding=\"UTF-8\" length=\"4\"/>"},
        {"UTF-16LE and UTF-16BE marks", L"<a", kXmlDocUtf16Le | kXmlDocUtf16Be,
         std::string("\xFF\xFE<\0a\0", 6),
         L"<bom/><converted_from encoding=\"UTF-16\" length=\"2\"/>"
         L"<write encoding=\"UTF-16LE\" length=\"2\"/>"},
        {"empty text with a mark", L"", kXmlDocUtf8Bom, "\xEF\xBB\xBF",
         L"<bom/><write encoding=\"UTF-8\" length=\"0\"/>"},
        {"empty text", L"", 0, "", L"<write encoding=\"\" length=\"0\"/>"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::wstring path = PathOf("save" + std::to_string(n++));
        std::wstring log;
        int flags = c.flags;
        ASSERT_TRUE(XmlDocument::SaveFile(c.text, &log, path, &flags)) << c.what << log;
        EXPECT_EQ(Read(path), c.bytes) << c.what;
        EXPECT_EQ(log, c.log) << c.what;
        EXPECT_EQ(flags, c.flags) << c.what;
    }
}

TEST_F(XmlFileTest, DeclaredUtf32IsWrittenInFourByteUnits)
{
    const std::wstring declaration = L"<?xml encoding='UTF-32BE'?>";
    const std::wstring path = PathOf("utf32.xml");
    std::wstring log;
    ASSERT_TRUE(XmlDocument::SaveFile(declaration + L"\u00e9\U0001F600", &log, path, nullptr));
    const std::string bytes = Read(path);
    ASSERT_EQ(bytes.size(), (declaration.size() + 2) * 4);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\0\0\0<", 4));
    EXPECT_EQ(bytes.substr(bytes.size() - 8), std::string("\0\0\0\xE9\0\x01\xF6\0", 8));
    EXPECT_NE(log.find(L"<write encoding=\"UTF-32BE\" length=\"29\"/>"), std::wstring::npos);
}

TEST_F(XmlFileTest, AppendingWritesTheMarkOnlyIntoAnEmptyFile)
{
    const std::wstring path = PathOf("append.xml");
    int flags = kXmlDocUtf8Bom | kXmlDocAppendFile;
    ASSERT_TRUE(XmlDocument::SaveFile(L"<a/>", nullptr, path, &flags));
    EXPECT_EQ(flags, kXmlDocUtf8Bom);
    flags = kXmlDocUtf8Bom | kXmlDocAppendFile;
    std::wstring log;
    ASSERT_TRUE(XmlDocument::SaveFile(L"<b/>", &log, path, &flags));
    EXPECT_EQ(Read(path), "\xEF\xBB\xBF<a/><b/>");
    EXPECT_EQ(log.find(L"<bom/>"), std::wstring::npos);
    flags = 0;
    ASSERT_TRUE(XmlDocument::SaveFile(L"<c/>", nullptr, path, &flags));
    EXPECT_EQ(Read(path), "<c/>");
}

TEST_F(XmlFileTest, BuiltDocumentsRoundTripInEveryEncoding)
{
    const std::wstring value = L"caf\u00e9 \u4e2d\u6587 <&> \U0001F600";
    const struct {
        const char* what;
        int flags;
        std::wstring declaration;
    } cases[] = {
        {"UTF-8", 0, L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"},
        {"UTF-8 with mark", kXmlDocUtf8Bom, L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"},
        {"UTF-16LE", kXmlDocUtf16Le, L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"},
        {"UTF-16BE", kXmlDocUtf16Be, L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"},
        {"no declaration", 0, L""},
    };
    int n = 0;
    for (const auto& c : cases) {
        XmlDocument doc;
        doc.SetText(c.declaration);
        ASSERT_TRUE(doc.AddElement(L"profile"));
        ASSERT_TRUE(doc.EnterElement());
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(doc.AddElement(L"key"));
            ASSERT_TRUE(doc.SetAttribute(L"code", i));
            ASSERT_TRUE(doc.SetAttribute(L"name", value));
        }
        const std::wstring path = PathOf("round" + std::to_string(n++));
        int flags = c.flags;
        ASSERT_TRUE(XmlDocument::SaveFile(doc.GetText(), nullptr, path, &flags)) << c.what;

        std::wstring text;
        flags = 0;
        ASSERT_TRUE(XmlDocument::LoadFile(text, nullptr, path, &flags)) << c.what;
        EXPECT_EQ(flags, c.flags) << c.what;
        EXPECT_EQ(text, doc.GetText()) << c.what;
        XmlDocument back;
        ASSERT_TRUE(back.SetText(text)) << c.what;
        ASSERT_TRUE(back.FindElement(L"profile"));
        ASSERT_TRUE(back.EnterElement());
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(back.FindElement(L"key")) << c.what;
            EXPECT_EQ(back.GetAttribute(L"code"), std::to_wstring(i)) << c.what;
            EXPECT_EQ(back.GetAttribute(L"name"), value) << c.what;
        }
    }
}

TEST_F(XmlFileTest, LogStopsGrowingPastItsLimit)
{
    std::string bytes = "<r>";
    for (int i = 0; i < 200; ++i) {
        bytes += "</x>";
    }
    bytes += "</r>";
    const std::wstring path = Write("lone.xml", bytes);
    std::wstring text;
    ASSERT_TRUE(XmlDocument::LoadFile(text, nullptr, path, nullptr));
    XmlDocument doc;
    EXPECT_FALSE(doc.SetText(text));
    const std::wstring& log = doc.GetResult();
    EXPECT_GT(log.size(), XmlResultLog::kMaxLength);
    EXPECT_LT(log.size(), XmlResultLog::kMaxLength + 50);
    EXPECT_EQ(log.rfind(L"<lone_end_tag", 0), 0u);
    EXPECT_EQ(log.back(), L'>');
}

TEST(XmlEncoding, NamesMapToCodePages)
{
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    const struct {
        const wchar_t* name;
        unsigned codePage;
    } cases[] = {
        {L"utf-8", 65001},
        {L"UTF-8", 65001},
        {L"ksc_5601", 949},
        {L"cseucpkdfmtjapanese", 20932},
        {L"_iso-2022-jp", 50221},
        {L"L2", 28592},
        {L"x-cp20005", 20005},
        {L"UTF-16", 1200},
        {L"UTF-32", 12000},
        {L"utf-32be", 12001},
        {L"UTF-32-anything", 12000},
        {L"bogus", 932},
        {L"", 932},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XmlEncodingToCodePage(c.name), c.codePage) << c.name;
    }
    unsetenv("LC_ALL");
}

TEST(XmlEncoding, SniffReadsTheDeclarationOrTheHtmlCharset)
{
    const struct {
        const wchar_t* text;
        const wchar_t* encoding;
    } cases[] = {
        {L"<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?><a/>", L"ISO-8859-2"},
        {L"<?xml version='1.0' encoding = 'gbk' ?>", L"gbk"},
        {L"<?xml version=\"1.0\"?><a/>", L""},
        {L" <?xml encoding=\"gbk\"?><a/>", L""},
        {L"<?other encoding=\"gbk\"?><a/>", L""},
        {L"<a><?xml encoding=\"gbk\"?></a>", L""},
        {L"<html><meta name=\"x\" content=\"charset=a\"><meta http-equiv=\"Content-Type\" "
         L"content=\"text/html;charset=Big5\"></html>",
         L"Big5"},
        {L"<HTML><HEAD></HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"charset=x\">", L""},
        {L"<html><!-- x --><meta http-equiv='Content-Type' content='charset=\"koi8-r\"'>", L""},
        {L"<html><meta http-equiv='Content-Type' content='text/html; charset=koi8-r;'>", L"koi8-r"},
        {L"<html><1>", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XmlSniffEncoding(c.text), c.encoding) << c.text;
    }
}

}  // namespace
