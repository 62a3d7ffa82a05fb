// Decimal texts as the program reads them from edits, files and the registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Decimal text to int as _wtoi reads it: leading blanks, an optional sign, then digits up to
// the first other character; 0 when there are none; clamped to the int range.
int DecimalTextToInt(std::wstring_view text);

// Decimal text as the exchange files hold numbers: an optional minus sign and digits, nothing
// else (no blanks, no plus sign); the empty text reads as 0. Nothing for any other text or a
// value outside the 32-bit range.
std::optional<int32_t> StrictDecimalToInt(std::wstring_view text);
