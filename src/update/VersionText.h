// Version texts of the update service: splitting, comparing, and checking a text before it
// goes into an address or a file name.
#pragma once

#include <string>
#include <vector>

enum VersionOrder : int {
    VERSION_SAME = 0,
    VERSION_OLDER = 1,     // the first version is older
    VERSION_NEWER = -1,    // the first version is newer
    VERSION_MISMATCH = 2,  // different numbers of parts
};

// The pieces between occurrences of `separator`, searched from the left; the piece after the
// last separator is always appended ("1.2" gives two pieces, "" one empty piece).
std::vector<std::wstring> SplitString(const std::wstring& text, const std::wstring& separator);

// Compares two versions part by part (parts split at "."); each part is read from its leading
// digits in `base` (10, or 16 for a release number printed with "%x"; no digits read as 0).
int CompareVersion(const std::wstring& a, const std::wstring& b, int base = 10);

// The text without surrounding white space when what is left is a version: 1 to `maxLength`
// characters of digits (hexadecimal digits with `hex`) and dots, starting and ending with a
// digit, no two dots in a row. Otherwise an empty text.
std::wstring CleanVersionText(const std::wstring& text, size_t maxLength, bool hex = false);
