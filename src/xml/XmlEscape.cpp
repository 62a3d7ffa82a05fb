#include "xml/XmlEscape.h"

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// Length of the reference starting with the "&" at text[i], or 0 when none starts there.
size_t ReferenceLength(std::wstring_view text, size_t i)
{
    size_t j = i + 1;
    if (j >= text.size()) {
        return 0;
    }
    const wchar_t first = text[j];
    if (!IsAsciiLetter(first) && first != L'#' && first != L'_' && first != L':' && first < 0x80) {
        return 0;
    }
    for (++j; j < text.size(); ++j) {
        const wchar_t c = text[j];
        if (c == L';') {
            return j + 1 - i;
        }
        if (!IsAsciiLetter(c) && !(c >= L'0' && c <= L'9') && c != L'-' && c != L'.' && c != L':' &&
            c != L'_' && c < 0x80) {
            return 0;
        }
    }
    return 0;
}

}  // namespace

std::wstring XmlEscape(std::wstring_view text, int flags)
{
    const bool attribute = (flags & kXmlEscapeAttribute) != 0;
    std::wstring out;
    out.reserve(text.size() + text.size() / 10 + 7);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        switch (c) {
            case L'<':
                out += L"&lt;";
                break;
            case L'>':
                out += L"&gt;";
                break;
            case L'&': {
                const size_t keep =
                    (flags & kXmlEscapeKeepReferences) != 0 ? ReferenceLength(text, i) : 0;
                if (keep != 0) {
                    out.append(text.substr(i, keep));
                    i += keep - 1;
                } else {
                    out += L"&amp;";
                }
                break;
            }
            case L'\'':
                out += attribute ? L"&apos;" : L"'";
                break;
            case L'"':
                out += attribute ? L"&quot;" : L"\"";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::wstring XmlCdata(std::wstring_view text)
{
    std::wstring out = L"<![CDATA[";
    size_t from = 0;
    for (size_t at = text.find(L"]]>"); at != std::wstring_view::npos;
         at = text.find(L"]]>", from)) {
        out.append(text.substr(from, at - from));
        out += L"]]]]><![CDATA[>";
        from = at + 3;
    }
    out.append(text.substr(from));
    out += L"]]>";
    return out;
}
