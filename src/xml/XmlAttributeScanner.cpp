#include "xml/XmlAttributeScanner.h"

#include <algorithm>

#include "xml/XmlNames.h"

namespace {

bool EndsNameToken(wchar_t c)
{
    return c == L'=' || IsXmlSpace(c) || c == L'>' || c == L'/' || c == L'?';
}

bool EndsValueToken(wchar_t c) { return IsXmlSpace(c) || c == L'>'; }

}  // namespace

XmlAttributeSpan XmlAttributeScanner::Find(std::wstring_view text, size_t start, size_t limit,
                                           std::wstring_view name, bool ignoreCase)
{
    XmlAttributeSpan span;
    const size_t end = std::min(limit, text.size());
    size_t i = start + 1;
    if (i < end && text[i] == L'?') {
        ++i;
    }
    while (i < end && IsXmlSpace(text[i])) {
        ++i;
    }
    while (i < end && !EndsNameToken(text[i])) {
        ++i;
    }
    span.insertAt = i;
    bool valueNext = false;
    bool nameMatched = false;
    while (true) {
        while (i < end && IsXmlSpace(text[i])) {
            ++i;
        }
        if (i >= end) {
            break;
        }
        const wchar_t c = text[i];
        const bool quoted = c == L'"' || c == L'\'';
        size_t tokenEnd = i + 1;
        if (quoted) {
            while (tokenEnd < end && text[tokenEnd] != c) {
                ++tokenEnd;
            }
            const bool closed = tokenEnd < end;
            if (closed) {
                ++tokenEnd;
            }
            if (valueNext && nameMatched) {
                span.valueStart = i + 1;
                span.valueLength = tokenEnd - i - (closed ? 2 : 1);
            }
        } else if (valueNext) {
            if (c == L'>') {
                break;
            }
            while (tokenEnd < end && !EndsValueToken(text[tokenEnd])) {
                ++tokenEnd;
            }
            span.valueStart = i;
            span.valueLength = tokenEnd - i;
        } else if (c == L'/' || c == L'>' || c == L'?') {
            break;
        } else if (c == L'=') {
            valueNext = true;
            span.insertAt = tokenEnd;
            i = tokenEnd;
            continue;
        } else {
            while (tokenEnd < end && !EndsNameToken(text[tokenEnd])) {
                ++tokenEnd;
            }
        }
        if (valueNext) {
            valueNext = false;
            if (nameMatched) {
                span.found = true;
                span.tokenStart = i;
                span.tokenLength = tokenEnd - i;
                span.insertAt = tokenEnd;
                return span;
            }
            nameMatched = false;
        } else {
            nameMatched = !quoted && SameXmlName(text.substr(i, tokenEnd - i), name, ignoreCase);
        }
        span.insertAt = tokenEnd;
        i = tokenEnd;
    }
    span.valueStart = span.valueLength = 0;
    return span;
}
