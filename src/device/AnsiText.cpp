#include "device/AnsiText.h"

namespace {

// Code page 1252 in 0x80..0x9F; elsewhere it agrees with Latin-1. Unassigned bytes give U+FFFD.
constexpr wchar_t kHighControls[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

std::wstring AnsiToWide(const uint8_t* bytes, size_t length)
{
    std::wstring wide;
    for (size_t i = 0; bytes != nullptr && i < length && bytes[i] != 0; ++i) {
        const uint8_t b = bytes[i];
        wide.push_back(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : static_cast<wchar_t>(b));
    }
    return wide;
}
