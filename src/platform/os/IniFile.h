// Reader of Windows profile (INI) files, giving what GetPrivateProfileStringW gives with no
// default and a 260-character buffer.
//
// Encodings: UTF-8 with or without byte-order mark, UTF-16 little or big endian with mark;
// bytes without a mark that are not UTF-8 are read in the ANSI code page.
// Section and key names compare case-insensitively and ignore surrounding blanks; a value
// loses its surrounding blanks and one pair of matching surrounding quotes, and is cut to
// 259 characters. The file is read anew on every call (no cache); safe from any thread.
#pragma once

#include <string>
#include <string_view>

namespace os {

// The longest value handed back, as with a 260-character buffer and its closing zero.
inline constexpr std::size_t kIniValueMax = 259;

// The value of key in section of the file; empty when the file, the section or the key is
// missing or the value is empty.
std::wstring ReadIniString(const std::string& filePath, std::wstring_view section,
                           std::wstring_view key);

}  // namespace os
