#include "platform/text/Utf8.h"

#include <cstdint>

namespace text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one sequence at bytes[i]; advances i; returns kReplacement for a bad sequence.
char32_t DecodeOne(std::string_view bytes, size_t& i, bool& ok)
{
    const auto b0 = static_cast<uint8_t>(bytes[i]);
    ok = true;
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        ++i;
        ok = false;
        return kReplacement;
    }
    size_t j = i + 1;
    for (int k = 0; k < extra; ++k, ++j) {
        if (j >= bytes.size() || (static_cast<uint8_t>(bytes[j]) & 0xC0) != 0x80) {
            i = j;
            ok = false;
            return kReplacement;
        }
        cp = (cp << 6) | (static_cast<uint8_t>(bytes[j]) & 0x3F);
    }
    i = j;
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ok = false;
        return kReplacement;
    }
    return cp;
}

}  // namespace

std::string WideToUtf8(std::wstring_view wide)
{
    std::string out;
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = static_cast<char32_t>(wide[i]);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size()) {
            const auto lo = static_cast<char32_t>(wide[i + 1]);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view utf8)
{
    std::wstring out;
    out.reserve(utf8.size());
    size_t i = 0;
    bool ok = true;
    while (i < utf8.size()) {
        out.push_back(static_cast<wchar_t>(DecodeOne(utf8, i, ok)));
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    bool ok = true;
    while (i < bytes.size()) {
        DecodeOne(bytes, i, ok);
        if (!ok) {
            return false;
        }
    }
    return true;
}

}  // namespace text
