#include "xml/XmlTokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/XmlResultLog.h"

namespace {

struct Expected {
    XmlTokenKind kind;
    size_t start;
    size_t length;
};

std::vector<XmlToken> TokensOf(std::wstring_view text, XmlResultLog* log = nullptr)
{
    XmlTokenizer tokenizer(text, log);
    std::vector<XmlToken> tokens;
    for (;;) {
        tokens.push_back(tokenizer.Next());
        if (tokens.back().kind == XmlTokenKind::EndOfText || tokens.size() > 100) {
            return tokens;
        }
    }
}

TEST(XmlTokenizer, SplitsTextIntoEveryKindOfToken)
{
    const std::wstring text =
        L"<?p x?><!DOCTYPE r [<!ENTITY e \"]>\">]><r a='>'>t x<![CDATA[]>]]><!--->--> \r\n"
        L"</r >";
    using K = XmlTokenKind;
    const Expected expected[] = {
        {K::ProcessingInstruction, 0, 7},
        {K::DocumentType, 7, 31},
        {K::StartTag, 38, 9},
        {K::Text, 47, 3},
        {K::Cdata, 50, 14},
        {K::Comment, 64, 9},
        {K::WhiteSpace, 73, 3},
        {K::EndTag, 76, 5},
        {K::EndOfText, 81, 0},
    };
    const auto tokens = TokensOf(text);
    ASSERT_EQ(tokens.size(), std::size(expected));
    for (size_t i = 0; i < tokens.size(); ++i) {
        EXPECT_EQ(tokens[i].kind, expected[i].kind) << i;
        EXPECT_EQ(tokens[i].start, expected[i].start) << i;
        EXPECT_EQ(tokens[i].length, expected[i].length) << i;
    }
    EXPECT_EQ(tokens[2].nameLength, 1u);
    EXPECT_EQ(tokens[7].nameLength, 1u);
}

TEST(XmlTokenizer, EmptyElementTagsNeedTheSlashRightAfterANameBlankOrQuote)
{
    const struct {
        const wchar_t* text;
        bool empty;
    } cases[] = {
        {L"<a/>", true},          {L"<a />", true},     {L"<a b='1'/>", true},
        {L"<a b=\"/>\">", false}, {L"<a b=c/>", false}, {L"<a>", false},
    };
    for (const auto& c : cases) {
        const XmlToken token = TokensOf(c.text)[0];
        EXPECT_EQ(token.kind, XmlTokenKind::StartTag) << c.text;
        EXPECT_EQ(token.empty, c.empty) << c.text;
    }
}

TEST(XmlTokenizer, SyntaxErrorsSkipToTheNextGreaterThan)
{
    XmlResultLog log;
    const auto tokens = TokensOf(L"<1 x><a/>", &log);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].kind, XmlTokenKind::Error);
    EXPECT_EQ(tokens[0].length, 5u);
    EXPECT_EQ(tokens[1].kind, XmlTokenKind::StartTag);
    EXPECT_EQ(log.Text(), L"<first_tag_syntax offset=\"0\"/>");
}

}  // namespace
