#include "update/VersionText.h"

#include <cwctype>

namespace {

// The value of the leading digits of `piece` in `base`; 0 without any.
unsigned long long LeadingNumber(const std::wstring& piece, int base)
{
    unsigned long long value = 0;
    for (const wchar_t c : piece) {
        int digit = -1;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (base == 16 && c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else if (base == 16 && c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        }
        if (digit < 0 || digit >= base) {
            break;
        }
        // Saturates instead of wrapping on absurdly long pieces.
        if (value > (~0ULL - static_cast<unsigned>(digit)) / static_cast<unsigned>(base)) {
            return ~0ULL;
        }
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    return value;
}

bool IsVersionDigit(wchar_t c, bool hex)
{
    if (c >= L'0' && c <= L'9') {
        return true;
    }
    return hex && ((c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'));
}

}  // namespace

std::vector<std::wstring> SplitString(const std::wstring& text, const std::wstring& separator)
{
    std::vector<std::wstring> pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::wstring::npos;
         at = text.find(separator, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

int CompareVersion(const std::wstring& a, const std::wstring& b, int base)
{
    const std::vector<std::wstring> left = SplitString(a, L".");
    const std::vector<std::wstring> right = SplitString(b, L".");
    if (left.size() != right.size()) {
        return VERSION_MISMATCH;
    }
    for (size_t i = 0; i < left.size(); ++i) {
        const unsigned long long x = LeadingNumber(left[i], base);
        const unsigned long long y = LeadingNumber(right[i], base);
        if (x != y) {
            return x > y ? VERSION_NEWER : VERSION_OLDER;
        }
    }
    return VERSION_SAME;
}

std::wstring CleanVersionText(const std::wstring& text, size_t maxLength, bool hex)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::iswspace(text[first])) {
        ++first;
    }
    while (last > first && std::iswspace(text[last - 1])) {
        --last;
    }
    const std::wstring trimmed = text.substr(first, last - first);
    if (trimmed.empty() || trimmed.size() > maxLength) {
        return {};
    }
    if (!IsVersionDigit(trimmed.front(), hex) || !IsVersionDigit(trimmed.back(), hex)) {
        return {};
    }
    for (size_t i = 0; i < trimmed.size(); ++i) {
        const wchar_t c = trimmed[i];
        if (c == L'.' ? trimmed[i - 1] == L'.' : !IsVersionDigit(c, hex)) {
            return {};
        }
    }
    return trimmed;
}
