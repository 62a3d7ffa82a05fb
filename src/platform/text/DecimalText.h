// Decimal texts as the program reads them from edits, files and the registry.
#pragma once

#include <string_view>

// Decimal text to int as _wtoi reads it: leading blanks, an optional sign, then digits up to
// the first other character; 0 when there are none; clamped to the int range.
int DecimalTextToInt(std::wstring_view text);
