#include "platform/text/Parenthesized.h"

#include <algorithm>

namespace {

// CJK radicals, kana, ideographs, Hangul and the full-width forms.
bool IsCjk(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

}  // namespace

std::wstring Parenthesized(const std::wstring& text, const std::wstring& inner)
{
    if (std::any_of(text.begin(), text.end(), IsCjk)) {
        return text + L"\xFF08" + inner + L"\xFF09";
    }
    return text + L" (" + inner + L")";
}
