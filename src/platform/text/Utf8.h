// Conversions between wide text (one UTF-16 unit or code point per wchar_t) and UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace text {

// Invalid input (lone surrogates, bad or truncated sequences) becomes U+FFFD; never fails.
std::string WideToUtf8(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

}  // namespace text
