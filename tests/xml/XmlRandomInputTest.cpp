// Seeded random documents, mutated from valid ones or made of noise: parsing, walking, editing
// and loading must never crash, hang or break the index.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/text/Utf8.h"
#include "xml/XmlDocument.h"
#include "xml/XmlIndexCheck.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::vector<std::wstring> kSeeds = {
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root a=\"1\">\r\n<item id='2' "
    L"name=\"x &amp; y\"/>\r\n<group><key code=\"3\"/></group>\r\n</root>\r\n",
    L"<!DOCTYPE r [<!ELEMENT r ANY><!ATTLIST r a CDATA \"x\">]><r><!-- c --><![CDATA[<x>]]>"
    L"<?pi?>t</r>",
    L"<html><head><meta http-equiv=\"Content-Type\" content=\"charset=gbk\"></head></html>",
    L"<a><b><c></a></b><d x=/>",
};

const wchar_t kAlphabet[] = L"<>/!?-[]=\"' \r\nabCDAT&;#x1";

std::wstring Mutate(std::wstring text, std::mt19937& rng)
{
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
        const size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
        switch (rng() % 4) {
            case 0:
                text.insert(at, 1, kAlphabet[rng() % (sizeof(kAlphabet) / sizeof(wchar_t) - 1)]);
                break;
            case 1:
                text.erase(at, rng() % 6);
                break;
            case 2:
                if (!text.empty()) {
                    const size_t from = rng() % text.size();
                    text.insert(at, text.substr(from, rng() % 40));
                }
                break;
            default:
                text.resize(at);
        }
    }
    return text;
}

std::wstring Noise(std::mt19937& rng)
{
    std::wstring text(rng() % 300, L' ');
    for (auto& c : text) {
        const unsigned r = rng() % 10;
        c = r < 6 ? kAlphabet[rng() % (sizeof(kAlphabet) / sizeof(wchar_t) - 1)]
                  : static_cast<wchar_t>(rng() % (r < 9 ? 0x80 : 0x110000));
    }
    return text;
}

// Visits every element through the cursor, reading names and attributes; returns the count.
int Walk(XmlDocument& doc, std::mt19937& rng)
{
    int visited = 0;
    int depth = 0;
    while (visited < doc.GetEntryCount() * 2) {
        if (doc.FindElement()) {
            ++visited;
            doc.GetTagName(doc.GetCurrent());
            doc.GetAttribute(L"a");
            doc.GetAttribute(L"id");
            if (doc.EnterElement()) {
                ++depth;
            }
        } else if (depth > 0 && doc.LeaveElement()) {
            --depth;
        } else {
            break;
        }
    }
    if (doc.GetEntryCount() > 1 && rng() % 2 == 0) {
        doc.SetText(doc.GetText());
    }
    return visited;
}

// Random cursor moves and edits; true when a start tag without an end tag was written, which a
// fresh parse would read as unended.
bool Edit(XmlDocument& doc, std::mt19937& rng)
{
    bool startTagOnly = false;
    doc.FindElement();
    for (int i = 0; i < 6; ++i) {
        switch (rng() % 5) {
            case 0:
                doc.EnterElement();
                break;
            case 1:
                doc.FindElement();
                break;
            case 2: {
                static const int kFlags[] = {0,
                                             kXmlAddCdata,
                                             kXmlAddNoLineBreak,
                                             kXmlAddSpaceBeforeEnd,
                                             kXmlAddBefore,
                                             kXmlAddChild,
                                             kXmlAddStartTagOnly};
                const int flags = kFlags[rng() % 7];
                const bool added = doc.AddElement(L"n", rng() % 2 ? L"v]]>&" : L"", flags);
                startTagOnly = startTagOnly || (added && flags == kXmlAddStartTagOnly);
                break;
            }
            case 3:
                doc.SetAttribute(L"a", L"'<\">");
                break;
            default:
                doc.LeaveElement();
        }
    }
    return startTagOnly;
}

TEST(XmlRandomInput, ParsingWalkingAndEditingKeepTheIndexSound)
{
    std::mt19937 rng(20241210);
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    int rounds = 0;
    for (; rounds < 20000 && Clock::now() < deadline; ++rounds) {
        const std::wstring text =
            rng() % 4 == 0 ? Noise(rng) : Mutate(kSeeds[rng() % kSeeds.size()], rng);
        XmlDocument doc;
        if (rng() % 5 == 0) {
            doc.SetDocFlags(kXmlDocIgnoreCase);
        }
        const bool wellFormed = doc.SetText(text);
        ASSERT_TRUE(IndexIsConsistent(doc)) << rounds;
        Walk(doc, rng);
        const bool startTagOnly = Edit(doc, rng);
        ASSERT_TRUE(IndexIsConsistent(doc)) << rounds;
        if (wellFormed && doc.IsWellFormed() && !startTagOnly) {
            ASSERT_TRUE(IndexMatchesReparse(doc)) << rounds;
        }
    }
    EXPECT_GT(rounds, 50);
}

TEST(XmlRandomInput, LoadingArbitraryBytesGivesATextOrAFileError)
{
    std::mt19937 rng(7);
    const std::filesystem::path dir = std::filesystem::path(std::getenv("HOME")) / "xml-random";
    std::filesystem::create_directories(dir);
    const std::string prefixes[] = {
        "",
        "\xEF\xBB\xBF",
        "\xFF\xFE",
        "\xFE\xFF",
        "<?xml version='1.0' encoding='utf-32'?>",
        "<?xml encoding=\"shift_jis\"?>",
        "<?xml encoding=\"iso-2022-jp\"?>",
        "<?xml encoding=\"UTF-16\"?>",
        "<html><meta http-equiv='Content-Type' content='charset=big5'>"};
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    int rounds = 0;
    for (; rounds < 3000 && Clock::now() < deadline; ++rounds) {
        std::string bytes = prefixes[rng() % std::size(prefixes)];
        const size_t length = rng() % 2000;
        for (size_t i = 0; i < length; ++i) {
            bytes.push_back(static_cast<char>(rng() % 3 == 0 ? "<>/a= \"\0"[rng() % 8] : rng()));
        }
        const std::filesystem::path file = dir / "input.xml";
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        std::wstring text;
        std::wstring log;
        int flags = 0;
        ASSERT_TRUE(XmlDocument::LoadFile(text, &log, text::Utf8ToWide(file.string()), &flags));
        EXPECT_EQ(flags & kXmlDocModeBits, 0);
        EXPECT_EQ(text.find(L'\0'), std::wstring::npos);
        XmlDocument doc;
        doc.SetText(text);
        ASSERT_TRUE(IndexIsConsistent(doc));
        XmlDocument logDoc(log);
        ASSERT_GT(logDoc.GetEntryCount(), 1);
        ASSERT_TRUE(XmlDocument::SaveFile(text, nullptr, text::Utf8ToWide(file.string()), &flags));
    }
    EXPECT_GT(rounds, 20);
    std::filesystem::remove_all(dir);
}

}  // namespace
