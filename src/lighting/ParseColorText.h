// Colour texts of the preset and profile files: a marker character (usually '#') followed by
// hexadecimal pairs, read by their count: 2 digits red; 3 red and a one-digit green; 4 red and
// green; 5 red, green and a one-digit blue; 6 red, green and blue. Any other length gives 0.
// The colour is red | green << 8 | blue << 16.
#pragma once

#include <string_view>

int ParseColorText(std::wstring_view text);

// True when the text is a marker followed by 2 to 6 hexadecimal digits and nothing else.
bool IsColorText(std::wstring_view text);
