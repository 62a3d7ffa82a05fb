#include "xml/XmlUnescape.h"

#include "xml/XmlNames.h"

namespace {

constexpr size_t kMaxReferenceName = 9;

bool ParseNumber(std::wstring_view digits, unsigned base, char32_t& value)
{
    if (digits.empty()) {
        return false;
    }
    char32_t v = 0;
    for (wchar_t c : digits) {
        unsigned d = 0;
        if (c >= L'0' && c <= L'9') {
            d = static_cast<unsigned>(c - L'0');
        } else if (base == 16 && c >= L'a' && c <= L'f') {
            d = static_cast<unsigned>(c - L'a' + 10);
        } else {
            return false;
        }
        if (d >= base) {
            return false;
        }
        v = v * base + d;
    }
    value = v;
    return true;
}

// The character of the reference name (already in small letters), or 0 when none.
char32_t Decode(std::wstring_view name)
{
    char32_t value = 0;
    if (name.size() >= 2 && name[0] == L'#' && name[1] == L'x') {
        if (!ParseNumber(name.substr(2), 16, value)) {
            return 0;
        }
    } else if (!name.empty() && name[0] == L'#') {
        if (!ParseNumber(name.substr(1), 10, value)) {
            return 0;
        }
    } else {
        return XmlNamedReference(name);
    }
    // At most 8 hexadecimal or 9 decimal digits fit; anything past U+10FFFF is no character.
    return value <= 0x10FFFF ? value : 0;
}

}  // namespace

std::wstring XmlUnescape(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size());
    wchar_t name[kMaxReferenceName];
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c != L'&') {
            out += c;
            continue;
        }
        size_t n = 0;
        size_t j = i + 1;
        while (j < text.size() && n <= kMaxReferenceName && text[j] != L';' &&
               static_cast<unsigned>(text[j]) < 0x80) {
            if (n < kMaxReferenceName) {
                name[n] = LowerAscii(text[j]);
            }
            ++n;
            ++j;
        }
        char32_t value = 0;
        if (j < text.size() && text[j] == L';' && n <= kMaxReferenceName) {
            value = Decode(std::wstring_view(name, n));
        }
        if (value == 0) {
            out += c;
            continue;
        }
        out += static_cast<wchar_t>(value);
        i = j;
    }
    return out;
}
