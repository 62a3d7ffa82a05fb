#include <gtest/gtest.h>

#include <string>

#include "xml/XmlDocument.h"
#include "xml/XmlUnescape.h"

namespace {

TEST(XmlNavigation, FindElementWalksSiblingsAndStaysOnFailure)
{
    XmlDocument doc(L"<r><a n=\"1\"/><b/><a n=\"2\"/></r>");
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_EQ(doc.GetAttribute(L"n"), L"1");
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_EQ(doc.GetAttribute(L"n"), L"2");
    const int second = doc.GetCurrent();
    EXPECT_FALSE(doc.FindElement(L"a"));
    EXPECT_EQ(doc.GetCurrent(), second);
    EXPECT_EQ(doc.GetAttribute(L"n"), L"2");
}

TEST(XmlNavigation, EmptyNameTakesAnyElementAndNamesMustMatchWhole)
{
    XmlDocument doc(L"<r><ab/><a/></r>");
    ASSERT_TRUE(doc.FindElement(nullptr));
    EXPECT_EQ(doc.GetTagName(doc.GetCurrent()), L"r");
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(L"a"));
    EXPECT_EQ(doc.GetIndex()[doc.GetCurrent()].start, 8);  // not "ab"
    EXPECT_FALSE(doc.FindElement(L"A"));
    XmlDocument loose;
    loose.SetDocFlags(kXmlDocIgnoreCase);
    loose.SetText(doc.GetText());
    ASSERT_TRUE(loose.FindElement(L"R"));
    ASSERT_TRUE(loose.EnterElement());
    EXPECT_TRUE(loose.FindElement(L"AB"));
    EXPECT_EQ(loose.GetTagName(loose.GetCurrent()), L"ab");
}

TEST(XmlNavigation, EnterAndLeaveRememberWhereTheCursorWas)
{
    XmlDocument doc(L"<r><a><x/></a><b/><c/></r>");
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(L"b"));
    const int b = doc.GetCurrent();
    // An element without children: nothing to find, and leaving comes back to it.
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.FindElement());
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetCurrent(), b);
    // The search goes on after the element that was left.
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetTagName(doc.GetCurrent()), L"c");
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetTagName(doc.GetCurrent()), L"r");
    EXPECT_FALSE(doc.LeaveElement());
    EXPECT_FALSE(XmlDocument().EnterElement());
}

TEST(XmlNavigation, AttributeValuesAreCutFromTheStartTag)
{
    XmlDocument doc(
        L"<a one='single \"q\"' two=\"x > y /> z\" empty=\"\" bare=v/w three = \"3\" "
        L"ab=\"prefix\" b=\"&lt;&amp;&gt;\"/>");
    EXPECT_EQ(doc.GetAttributeAt(1, L"one"), L"");  // the cursor is not on an element yet
    ASSERT_TRUE(doc.FindElement(L"a"));
    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } cases[] = {
        {L"one", L"single \"q\""}, {L"two", L"x > y /> z"}, {L"empty", L""},   {L"bare", L"v/w"},
        {L"three", L"3"},          {L"b", L"<&>"},          {L"missing", L""}, {L"a", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(doc.GetAttribute(c.name), c.value) << c.name;
    }
    EXPECT_EQ(doc.GetAttributeAt(0, L"one"), L"");
    EXPECT_EQ(doc.GetAttributeAt(99, L"one"), L"");
}

TEST(XmlNavigation, TagNamesEndAtMarkupCharacters)
{
    XmlDocument doc(L"<ns:a x='1'><b/><c;d/></ns:a>");
    EXPECT_EQ(doc.GetTagName(1), L"ns:a");
    EXPECT_EQ(doc.GetTagName(2), L"b");
    EXPECT_EQ(doc.GetTagName(3), L"c");
    EXPECT_EQ(doc.GetTagName(0), L"");
    EXPECT_EQ(doc.GetTagName(4), L"");
}

TEST(XmlNavigation, CharacterReferencesDecodeOneLevel)
{
    const struct {
        const wchar_t* in;
        std::wstring out;
    } cases[] = {
        {L"&amp;lt;", L"&lt;"},
        {L"&#65;&#x41;&#X41;", L"AAA"},
        {L"&#x1F600;", std::wstring(1, static_cast<wchar_t>(0x1F600))},
        {L"&AMP;&Eacute;&eacute;&nbsp;&euro;&apos;&quot;", L"&\u00e9\u00e9\u00a0\u20ac'\""},
        {L"&unknown; & &;", L"&unknown; & &;"},
        {L"&#0; &#x110000; &#12a; &#x;", L"&#0; &#x110000; &#12a; &#x;"},
        {L"&abcdefghij;&abcdefghi", L"&abcdefghij;&abcdefghi"},
        {L"&\u00e9;", L"&\u00e9;"},
        {L"a&amp", L"a&amp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XmlUnescape(c.in), c.out) << c.in;
    }
}

}  // namespace
