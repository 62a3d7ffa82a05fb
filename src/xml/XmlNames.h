// Character classes and name comparison shared by the tokenizer, the cursor and the
// attribute scanner.
#pragma once

#include <string_view>

inline bool IsXmlSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

// Where the tokenizer ends a tag name: white space, "/" or ">".
inline bool EndsTokenName(wchar_t c) { return IsXmlSpace(c) || c == L'/' || c == L'>'; }

// Where a tag name read from the text ends: white space, the double quote or < > = \ / ? ! ' ;
inline bool EndsTagName(wchar_t c)
{
    switch (c) {
        case L' ':
        case L'\t':
        case L'\n':
        case L'\r':
        case L'"':
        case L'<':
        case L'>':
        case L'=':
        case L'\\':
        case L'/':
        case L'?':
        case L'!':
        case L'\'':
        case L';':
            return true;
        default:
            return false;
    }
}

inline wchar_t LowerAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// True when the two names are the same, exactly or (ignoreCase) with ASCII letters compared
// without regard to case.
inline bool SameXmlName(std::wstring_view a, std::wstring_view b, bool ignoreCase)
{
    if (a.size() != b.size()) {
        return false;
    }
    if (!ignoreCase) {
        return a == b;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The tag name at the start of a start tag (text[start] is "<"), cut at EndsTagName.
inline std::wstring_view XmlTagNameAt(std::wstring_view text, size_t start)
{
    size_t end = start + 1;
    while (end < text.size() && !EndsTagName(text[end])) {
        ++end;
    }
    return start + 1 <= text.size() ? text.substr(start + 1, end - start - 1) : std::wstring_view{};
}
