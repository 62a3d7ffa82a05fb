#include "xml/XmlEncoding.h"

#include "platform/text/CodePage.h"
#include "xml/XmlAttributeScanner.h"
#include "xml/XmlNames.h"
#include "xml/XmlTokenizer.h"
#include "xml/XmlUnescape.h"

namespace {

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && SameXmlName(text.substr(0, prefix.size()), prefix, true);
}

std::wstring AttributeOf(std::wstring_view text, const XmlToken& tag, std::wstring_view name,
                         bool ignoreCase)
{
    const XmlAttributeSpan span =
        XmlAttributeScanner::Find(text, tag.start, tag.start + tag.length, name, ignoreCase);
    return span.found ? XmlUnescape(text.substr(span.valueStart, span.valueLength))
                      : std::wstring();
}

// The word after "charset" and "=" in a Content-Type value.
std::wstring CharsetOf(std::wstring_view content)
{
    for (size_t at = 0; at + 7 <= content.size(); ++at) {
        if (!SameXmlName(content.substr(at, 7), L"charset", true)) {
            continue;
        }
        size_t i = at + 7;
        while (i < content.size() && IsXmlSpace(content[i])) {
            ++i;
        }
        if (i >= content.size() || content[i] != L'=') {
            continue;
        }
        ++i;
        while (i < content.size() && IsXmlSpace(content[i])) {
            ++i;
        }
        size_t end = i;
        while (end < content.size() && !EndsTagName(content[end])) {
            ++end;
        }
        return std::wstring(content.substr(i, end - i));
    }
    return {};
}

}  // namespace

unsigned XmlEncodingToCodePage(std::wstring_view name)
{
    if (StartsWithIgnoringCase(name, L"UTF-32")) {
        return SameXmlName(name, L"UTF-32BE", true) ? text::kCodePageUtf32Be
                                                    : text::kCodePageUtf32Le;
    }
    const unsigned codePage = text::CodePageFromName(name);
    return codePage != 0 ? codePage : text::GetAnsiCodePage();
}

std::wstring XmlSniffEncoding(std::wstring_view text)
{
    XmlTokenizer tokenizer(text, nullptr);
    bool html = false;
    for (;;) {
        const XmlToken token = tokenizer.Next();
        switch (token.kind) {
            case XmlTokenKind::ProcessingInstruction:
                if (token.start == 0 && XmlTagNameAt(text.substr(0, token.length), 1) == L"xml") {
                    return AttributeOf(text, token, L"encoding", false);
                }
                break;
            case XmlTokenKind::StartTag: {
                const std::wstring_view name = text.substr(token.start + 1, token.nameLength);
                if (!html) {
                    if (!SameXmlName(name, L"html", true)) {
                        return {};
                    }
                    html = true;
                } else if (SameXmlName(name, L"meta", true) &&
                           SameXmlName(AttributeOf(text, token, L"http-equiv", true),
                                       L"Content-Type", true)) {
                    return CharsetOf(AttributeOf(text, token, L"content", true));
                }
                break;
            }
            case XmlTokenKind::EndTag:
                if (SameXmlName(text.substr(token.start + 2, token.nameLength), L"head", true)) {
                    return {};
                }
                break;
            case XmlTokenKind::Error:
            case XmlTokenKind::EndOfText:
                return {};
            default:
                break;
        }
    }
}
