#include <gtest/gtest.h>

#include <string>

#include "xml/XmlDocument.h"
#include "xml/XmlIndexCheck.h"

namespace {

struct ParseCase {
    const char* what;
    std::wstring text;
    bool wellFormed;
    std::wstring log;
};

TEST(XmlParse, ResultAndLogOfEachKindOfInput)
{
    const ParseCase cases[] = {
        {"empty text", L"", false, L""},
        {"one empty element", L"<a/>", true, L""},
        {"every kind of token",
         L"<?xml version=\"1.0\"?>\r\n<!DOCTYPE r [<!ELEMENT r ANY><!-- ] > --><?p x?>"
         L"<!ATTLIST r a CDATA \"x>]y\">]>\r\n<r a='1'><!-- <x> --><![CDATA[<y></r>]]>text &amp;"
         L"<?pi <z>?></r>\r\n",
         true, L""},
        {"unended child", L"<a><b></a>", false,
         L"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"},
        {"lone end tag", L"<a></b></a>", false, L"<lone_end_tag tagname=\"b\" offset=\"3\"/>"},
        {"two top-level elements", L"<a/><b/>", false, L"<root_has_sibling/>"},
        {"text only", L"just text", false, L"<no_root_element/>"},
        {"bad tag start", L"<a><1/></a>", false, L"<first_tag_syntax offset=\"3\"/>"},
        {"bad declaration in a document type", L"<!DOCTYPE a [<!X>]><a/>", false,
         L"<doctype_tag_syntax offset=\"13\"/>"},
        {"bad exclamation tag", L"<!X><a/>", false, L"<exclamation_tag_syntax offset=\"0\"/>"},
        {"bad comment", L"<!-x--><a/>", false, L"<comment_tag_syntax offset=\"0\"/>"},
        {"bad CDATA section", L"<![X[y]]><a/>", false, L"<cdata_section_syntax offset=\"0\"/>"},
        {"text ends in a start tag", L"<a b='>", false,
         L"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>"},
        {"text ends in an end tag", L"<a></a", false,
         L"<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"
         L"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>"},
        {"text ends after <", L"<a/><", false,
         L"<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
        {"text ends in a CDATA section", L"<a/><![CDATA[x", false,
         L"<unterminated_tag_syntax type=\"cdata_section\" offset=\"4\"/>"},
        {"text ends in a processing instruction", L"<a/><?p", false,
         L"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"4\"/>"},
        {"text ends in a comment", L"<a/><!-- x -", false,
         L"<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"},
        {"text ends in a document type", L"<a/><!DOCTYPE a [", false,
         L"<unterminated_tag_syntax type=\"document_type\" offset=\"4\"/>"},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        EXPECT_EQ(doc.SetText(c.text), c.wellFormed) << c.what;
        EXPECT_EQ(doc.IsWellFormed(), c.wellFormed) << c.what;
        EXPECT_EQ(doc.GetResult(), c.log) << c.what;
        EXPECT_TRUE(IndexIsConsistent(doc)) << c.what;
    }
}

TEST(XmlParse, EntriesHoldOffsetsAndTagLengths)
{
    XmlDocument doc(L"<r>\r\n <a x=\"1\"/>\r\n <b></b >\r\n</r>");
    ASSERT_TRUE(doc.IsWellFormed());
    ASSERT_EQ(doc.GetEntryCount(), 4);
    const XmlElementIndex& index = doc.GetIndex();
    EXPECT_EQ(index[0].length, 33);
    EXPECT_EQ(index[0].firstChild, 1);
    const XmlIndexEntry& r = index[1];
    EXPECT_EQ(r.start, 0);
    EXPECT_EQ(r.length, 33);
    EXPECT_EQ(r.startTagLength, 3);
    EXPECT_EQ(r.endTagLength, 4);
    EXPECT_EQ(r.Level(), 0);
    EXPECT_EQ(r.firstChild, 2);
    const XmlIndexEntry& a = index[2];
    EXPECT_EQ(a.start, 6);
    EXPECT_EQ(a.length, 10);
    EXPECT_EQ(a.startTagLength, 10);
    EXPECT_EQ(a.endTagLength, 0);
    EXPECT_EQ(a.Level(), 1);
    EXPECT_EQ(a.next, 3);
    EXPECT_EQ(a.previous, 3);  // the first child names the last one
    EXPECT_NE(a.flags & kXmlFirstChild, 0);
    const XmlIndexEntry& b = index[3];
    EXPECT_EQ(b.start, 19);
    EXPECT_EQ(b.length, 8);
    EXPECT_EQ(b.endTagLength, 5);
    EXPECT_EQ(b.previous, 2);
    EXPECT_EQ(b.flags & kXmlFirstChild, 0);
}

TEST(XmlParse, UnendedElementKeepsItsStartTagAndHandsItsChildrenToItsParent)
{
    XmlDocument doc(L"<a><b><c/><d></d></a>");
    EXPECT_FALSE(doc.IsWellFormed());
    ASSERT_TRUE(IndexIsConsistent(doc));
    const XmlElementIndex& index = doc.GetIndex();
    EXPECT_EQ(index[1].length, 21);  // a is closed by its own end tag
    const XmlIndexEntry& b = index[2];
    EXPECT_EQ(b.length, 3);
    EXPECT_EQ(b.endTagLength, 0);
    EXPECT_NE(b.flags & kXmlNoEndTag, 0);
    EXPECT_EQ(b.firstChild, 0);
    EXPECT_NE(index[0].flags & kXmlIllFormed, 0);
    // a's children are now b, c, d in text order.
    EXPECT_EQ(index[1].firstChild, 2);
    EXPECT_EQ(index[2].next, 3);
    EXPECT_EQ(index[3].next, 4);
    EXPECT_EQ(index[3].parent, 1);
    EXPECT_EQ(index[4].parent, 1);
}

TEST(XmlParse, QuotedGreaterThanAndSlashDoNotEndOrEmptyATag)
{
    const struct {
        std::wstring text;
        int rootLength;
    } cases[] = {
        {L"<a x=\"/>\" y='>'></a>", 20},
        {L"<a x = '1'/>", 12},
        {L"<a b=c/></a>", 12},  // the slash ends an unquoted value
        {L"<a />", 5},
    };
    for (const auto& c : cases) {
        XmlDocument doc(c.text);
        EXPECT_TRUE(doc.IsWellFormed()) << doc.GetResult();
        ASSERT_EQ(doc.GetEntryCount(), 2);
        EXPECT_EQ(doc.GetIndex()[1].length, c.rootLength);
    }
}

TEST(XmlParse, NamesCompareWithoutCaseOnlyWhenAsked)
{
    XmlDocument exact(L"<A></a>");
    EXPECT_FALSE(exact.IsWellFormed());
    XmlDocument loose;
    loose.SetDocFlags(kXmlDocIgnoreCase);
    EXPECT_TRUE(loose.SetText(L"<A></a>"));
}

TEST(XmlParse, IndexesElementsPastTheFirstSegment)
{
    std::wstring text = L"<r>";
    const int count = 70000;
    for (int i = 0; i < count; ++i) {
        text += L"<e i=\"" + std::to_wstring(i) + L"\"/>";
    }
    text += L"</r>";
    XmlDocument doc(text);
    ASSERT_TRUE(doc.IsWellFormed());
    ASSERT_EQ(doc.GetEntryCount(), count + 2);
    EXPECT_TRUE(IndexIsConsistent(doc));
    ASSERT_TRUE(doc.FindElement(L"r"));
    ASSERT_TRUE(doc.EnterElement());
    int seen = 0;
    while (doc.FindElement(L"e")) {
        ASSERT_EQ(doc.GetAttribute(L"i"), std::to_wstring(seen));
        ++seen;
    }
    EXPECT_EQ(seen, count);
}

TEST(XmlParse, HostileNestingStaysLinearAndConsistent)
{
    const char* const names[] = {"deeply unended", "unended with lone end tags", "alternating"};
    std::wstring deep;
    for (int i = 0; i < 50000; ++i) {
        deep += L"<a>";
    }
    std::wstring lone = deep;
    for (int i = 0; i < 50000; ++i) {
        lone += L"</b>";
    }
    std::wstring alternating;
    for (int i = 0; i < 30000; ++i) {
        alternating += L"<p><u><x/>";
    }
    for (int i = 0; i < 30000; ++i) {
        alternating += L"</p>";
    }
    const std::wstring texts[] = {deep, lone, alternating};
    for (size_t i = 0; i < 3; ++i) {
        XmlDocument doc(texts[i]);
        EXPECT_FALSE(doc.IsWellFormed()) << names[i];
        EXPECT_TRUE(IndexIsConsistent(doc)) << names[i];
        // The log stops growing once it passes its limit.
        EXPECT_GT(doc.GetResult().size(), XmlResultLog::kMaxLength) << names[i];
        EXPECT_LT(doc.GetResult().size(), XmlResultLog::kMaxLength + 100) << names[i];
    }
}

}  // namespace
