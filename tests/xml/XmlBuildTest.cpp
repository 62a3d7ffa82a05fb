#include <gtest/gtest.h>

#include <string>

#include "xml/XmlDocument.h"
#include "xml/XmlEscape.h"
#include "xml/XmlIndexCheck.h"

namespace {

const std::wstring kDeclaration = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

TEST(XmlBuild, WriterPatternProducesUnindentedLines)
{
    XmlDocument doc;
    doc.SetText(kDeclaration);
    ASSERT_TRUE(doc.AddElement(L"root"));
    ASSERT_TRUE(doc.SetAttribute(L"version", 2));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(L"item"));
    ASSERT_TRUE(doc.SetAttribute(L"id", 1));
    ASSERT_TRUE(doc.SetAttribute(L"name", L"first"));
    ASSERT_TRUE(doc.AddElement(L"group"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(L"key"));
    ASSERT_TRUE(doc.SetAttribute(L"code", -5));
    ASSERT_TRUE(doc.AddElement(L"key"));
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.AddElement(L"item"));
    ASSERT_TRUE(doc.SetAttribute(L"id", 3));
    EXPECT_EQ(doc.GetText(), kDeclaration +
                                 L"<root version=\"2\">\r\n"
                                 L"<item id=\"1\" name=\"first\"/>\r\n"
                                 L"<group>\r\n"
                                 L"<key code=\"-5\"/>\r\n"
                                 L"<key/>\r\n"
                                 L"</group>\r\n"
                                 L"<item id=\"3\"/>\r\n"
                                 L"</root>\r\n");
    EXPECT_TRUE(IndexIsConsistent(doc));
    EXPECT_TRUE(IndexMatchesReparse(doc));
    EXPECT_TRUE(doc.IsWellFormed());
}

TEST(XmlBuild, SetAttributeReplacesInPlaceInDoubleQuotes)
{
    XmlDocument doc(L"<r><a x='old' y=\"2\"><c k=\"v\"/></a><b/></r>");
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(L"a"));
    ASSERT_TRUE(doc.SetAttribute(L"x", L"much longer"));
    ASSERT_TRUE(doc.SetAttribute(L"z", L"new"));
    ASSERT_TRUE(doc.SetAttribute(L"y", L""));
    EXPECT_EQ(doc.GetText(), L"<r><a x=\"much longer\" y=\"\" z=\"new\"><c k=\"v\"/></a><b/></r>");
    EXPECT_TRUE(IndexIsConsistent(doc));
    EXPECT_TRUE(IndexMatchesReparse(doc));
    // The entries after the start tag moved with it.
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(L"c"));
    EXPECT_EQ(doc.GetAttribute(L"k"), L"v");
}

TEST(XmlBuild, MarkupCharactersInValuesReadBackUnchanged)
{
    const std::wstring value = L"a<b>&c'd\"e &amp; \U0001F600";
    XmlDocument doc;
    ASSERT_TRUE(doc.AddElement(L"r"));
    ASSERT_TRUE(doc.SetAttribute(L"v", value));
    EXPECT_EQ(doc.GetText(), L"<r v=\"a&lt;b&gt;&amp;c&apos;d&quot;e &amp;amp; \U0001F600\"/>\r\n");
    XmlDocument back(doc.GetText());
    ASSERT_TRUE(back.FindElement(L"r"));
    EXPECT_EQ(back.GetAttribute(L"v"), value);
}

TEST(XmlBuild, AddingIntoEmptyElementsOpensThem)
{
    const struct {
        const char* what;
        std::wstring text;
        std::wstring expected;
    } cases[] = {
        {"empty-element tag", L"<r a=\"1\"/>", L"<r a=\"1\">\r\n<c/>\r\n</r>"},
        {"empty-element tag with a blank", L"<r />", L"<r >\r\n<c/>\r\n</r>"},
        {"nothing between the tags", L"<r></r>", L"<r>\r\n<c/>\r\n</r>"},
        {"unended start tag", L"<r><u></r>", L"<r><u>\r\n<c/>\r\n</u></r>"},
    };
    for (const auto& c : cases) {
        XmlDocument doc(c.text);
        ASSERT_TRUE(doc.FindElement(L"r")) << c.what;
        if (doc.EnterElement() && doc.FindElement(L"u")) {
            // descend into the unended element instead
        } else {
            doc.LeaveElement();
        }
        ASSERT_TRUE(doc.EnterElement()) << c.what;
        ASSERT_TRUE(doc.AddElement(L"c")) << c.what;
        EXPECT_EQ(doc.GetText(), c.expected) << c.what;
        EXPECT_TRUE(IndexIsConsistent(doc)) << c.what;
        XmlDocument fresh(doc.GetText());
        EXPECT_TRUE(fresh.IsWellFormed()) << c.what;
        EXPECT_TRUE(IndexMatchesReparse(doc)) << c.what;
    }
}

TEST(XmlBuild, EachAddFlagShapesTheNewText)
{
    const struct {
        const char* what;
        const wchar_t* value;
        int flags;
        std::wstring expected;
    } cases[] = {
        {"plain", nullptr, 0, L"<r>\r\n<a/>\r\n<n/>\r\n<b/>\r\n</r>"},
        {"value", L"x<y", 0, L"<r>\r\n<a/>\r\n<n>x&lt;y</n>\r\n<b/>\r\n</r>"},
        {"CDATA", L"p]]>q", kXmlAddCdata,
         L"<r>\r\n<a/>\r\n<n><![CDATA[p]]]]><![CDATA[>q]]></n>\r\n<b/>\r\n</r>"},
        {"no line break", nullptr, kXmlAddNoLineBreak, L"<r>\r\n<a/><n/>\r\n<b/>\r\n</r>"},
        {"blank before the end", nullptr, kXmlAddSpaceBeforeEnd,
         L"<r>\r\n<a/>\r\n<n />\r\n<b/>\r\n</r>"},
        {"references kept", L"&amp;&#65;&x", kXmlAddKeepReferences,
         L"<r>\r\n<a/>\r\n<n>&amp;&#65;&amp;x</n>\r\n<b/>\r\n</r>"},
        {"start tag only", nullptr, kXmlAddStartTagOnly, L"<r>\r\n<a/>\r\n<n>\r\n<b/>\r\n</r>"},
        {"before the current element", nullptr, kXmlAddBefore,
         L"<r>\r\n<n/>\r\n<a/>\r\n<b/>\r\n</r>"},
        {"child of the current element", nullptr, kXmlAddChild,
         L"<r>\r\n<a>\r\n<n/>\r\n</a>\r\n<b/>\r\n</r>"},
    };
    for (const auto& c : cases) {
        XmlDocument doc(L"<r>\r\n<a/>\r\n<b/>\r\n</r>");
        ASSERT_TRUE(doc.FindElement(L"r"));
        ASSERT_TRUE(doc.EnterElement());
        ASSERT_TRUE(doc.FindElement(L"a"));
        const int a = doc.GetCurrent();
        ASSERT_TRUE(doc.AddElement(L"n", c.value != nullptr ? c.value : L"", c.flags)) << c.what;
        EXPECT_EQ(doc.GetText(), c.expected) << c.what;
        EXPECT_TRUE(IndexIsConsistent(doc)) << c.what;
        if ((c.flags & kXmlAddStartTagOnly) == 0) {
            EXPECT_TRUE(IndexMatchesReparse(doc)) << c.what;
        }
        if ((c.flags & kXmlAddChild) != 0) {
            EXPECT_EQ(doc.GetCurrent(), a) << c.what;
            EXPECT_EQ(doc.GetTagName(doc.GetChild()), L"n") << c.what;
        } else {
            EXPECT_EQ(doc.GetTagName(doc.GetCurrent()), L"n") << c.what;
        }
    }
}

TEST(XmlBuild, RefusalsChangeNothing)
{
    XmlDocument doc(L"<r/>");
    const std::wstring before = doc.GetText();
    EXPECT_FALSE(doc.SetAttribute(1, L"a", L"1"));          // cursor not on an element
    EXPECT_FALSE(doc.AddElement(L"c", L"", kXmlAddChild));  // no current element
    ASSERT_TRUE(doc.FindElement(L"r"));
    EXPECT_FALSE(doc.AddElement(L"c", L"v", kXmlAddStartTagOnly));
    for (const wchar_t* name : {L"", L"a b", L"a\"", L"a>", L"a/", L"a=", L"a&"}) {
        EXPECT_FALSE(doc.AddElement(name)) << name;
        EXPECT_FALSE(doc.SetAttribute(name, L"1")) << name;
    }
    EXPECT_FALSE(doc.SetAttribute(0, L"a", L"1"));
    EXPECT_FALSE(doc.SetAttribute(5, L"a", L"1"));
    doc.SetDocFlags(kXmlDocReadingFile);
    EXPECT_FALSE(doc.AddElement(L"c"));
    EXPECT_FALSE(doc.SetAttribute(L"a", 1));
    EXPECT_FALSE(doc.SetText(L"<x/>"));
    EXPECT_EQ(doc.GetText(), before);
    doc.SetDocFlags(kXmlDocWritingFile);
    EXPECT_FALSE(doc.FindElement());
}

TEST(XmlBuild, ManyEditsKeepTheIndexEqualToAFreshParse)
{
    XmlDocument doc;
    doc.SetText(kDeclaration);
    ASSERT_TRUE(doc.AddElement(L"root"));
    ASSERT_TRUE(doc.EnterElement());
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(doc.AddElement(L"k", L"", i % 3 == 0 ? kXmlAddBefore : 0));
        ASSERT_TRUE(doc.SetAttribute(L"i", i));
        if (i % 4 == 1) {
            ASSERT_TRUE(doc.EnterElement());
            ASSERT_TRUE(doc.AddElement(L"sub", L"t&t"));
            ASSERT_TRUE(doc.LeaveElement());
        }
        if (i % 5 == 2) {
            ASSERT_TRUE(doc.SetAttribute(doc.GetParent(), L"count", std::to_wstring(i)));
        }
    }
    EXPECT_TRUE(doc.IsWellFormed());
    EXPECT_TRUE(IndexIsConsistent(doc));
    EXPECT_TRUE(IndexMatchesReparse(doc));
}

TEST(XmlBuild, EditsInsideAParsedDocumentMoveEverythingAfterThem)
{
    XmlDocument doc(L"<a><b><c/><d x='1'><e/></d></b><f><g/></f></a>\r\n<!-- end -->");
    ASSERT_TRUE(doc.FindElement(L"a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(L"b"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(L"c"));
    // Into an empty element in the middle, before a sibling, and attributes on early tags.
    ASSERT_TRUE(doc.AddElement(L"c1", L"", kXmlAddChild));
    ASSERT_TRUE(doc.SetAttribute(L"long", L"a value longer than the old text"));
    ASSERT_TRUE(doc.FindElement(L"d"));
    ASSERT_TRUE(doc.SetAttribute(L"x", L"2"));
    ASSERT_TRUE(doc.AddElement(L"before-d", L"v", kXmlAddBefore));
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.SetAttribute(doc.GetParent(), L"root", L"1"));
    EXPECT_TRUE(IndexIsConsistent(doc));
    EXPECT_TRUE(IndexMatchesReparse(doc));
    EXPECT_EQ(doc.GetText(),
              L"<a root=\"1\"><b><c long=\"a value longer than the old text\">\r\n<c1/>\r\n</c>"
              L"<before-d>v</before-d>\r\n<d x=\"2\"><e/></d></b><f><g/></f></a>\r\n<!-- end -->");
}

TEST(XmlBuild, EscapeAndCdataForms)
{
    EXPECT_EQ(XmlEscape(L"<a&b>'\"", 0), L"&lt;a&amp;b&gt;'\"");
    EXPECT_EQ(XmlEscape(L"<a&b>'\"", kXmlEscapeAttribute), L"&lt;a&amp;b&gt;&apos;&quot;");
    EXPECT_EQ(XmlEscape(L"&lt; &#x41; &_a:b-c.d; &\u00e9x; & a &a b; &;", kXmlEscapeKeepReferences),
              L"&lt; &#x41; &_a:b-c.d; &\u00e9x; &amp; a &amp;a b; &amp;;");
    EXPECT_EQ(XmlCdata(L""), L"<![CDATA[]]>");
    EXPECT_EQ(XmlCdata(L"]]>]]>"), L"<![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]>");
}

}  // namespace
