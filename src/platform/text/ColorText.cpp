#include "platform/text/ColorText.h"

#include <cstdio>

namespace text {
namespace {

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// The part's digits read up to the first that is not hexadecimal, masked to a byte.
uint32_t HexPart(std::wstring_view part)
{
    uint32_t value = 0;
    for (const wchar_t c : part) {
        const int digit = HexDigit(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value & 0xFF;
}

}  // namespace

uint32_t ParseColorText(std::wstring_view text)
{
    if (text.empty()) return 0;
    const std::wstring_view digits = text.substr(1);
    const size_t length = digits.size();
    if (length < 2 || length > 6) return 0;
    const uint32_t red = HexPart(digits.substr(0, 2));
    const uint32_t green = length >= 3 ? HexPart(digits.substr(2, 2)) : 0;
    const uint32_t blue = length >= 5 ? HexPart(digits.substr(4, 2)) : 0;
    return red | green << 8 | blue << 16;
}

bool IsColorText(std::wstring_view text)
{
    if (text.size() < 3 || text.size() > 7) return false;
    for (const wchar_t c : text.substr(1)) {
        if (HexDigit(c) < 0) return false;
    }
    return true;
}

std::wstring FormatColorText(uint32_t color)
{
    wchar_t buffer[8];
    std::swprintf(buffer, std::size(buffer), L"#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                  (color >> 16) & 0xFF);
    return buffer;
}

}  // namespace text
