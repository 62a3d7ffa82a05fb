// Colour texts of the program's files: a marker character (usually '#') followed by up to six
// hexadecimal digits RRGGBB. Colours are integers red | green << 8 | blue << 16.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// The marker is dropped and the rest read as hex pairs by its length: 2 red; 3 red and a
// one-digit green; 4 red, green; 5 red, green and a one-digit blue; 6 red, green, blue. Each
// part is read up to its first non-hex character (no digit gives 0); any other length gives 0.
uint32_t ParseColorText(std::wstring_view text);

// True when the text is a marker followed by 2 to 6 hexadecimal digits and nothing else.
bool IsColorText(std::wstring_view text);

// "#RRGGBB" in upper-case digits.
std::wstring FormatColorText(uint32_t color);

}  // namespace text
