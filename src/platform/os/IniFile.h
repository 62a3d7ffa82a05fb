// Reader of Windows profile (INI) files, giving what GetPrivateProfileStringW gives with no
// default and a 260-character buffer.
//
// Encodings: UTF-8 with or without byte-order mark, UTF-16 little or big endian with mark;
// bytes without a mark that are not UTF-8 are read in the ANSI code page.
// Section and key names compare case-insensitively and ignore surrounding blanks; a value
// loses its surrounding blanks and one pair of matching surrounding quotes, and is cut to
// 259 characters. The first value of a key counts. Safe from any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace os {

// The longest value handed back, as with a 260-character buffer and its closing zero.
inline constexpr std::size_t kIniValueMax = 259;

// The values of one file, read and decoded once.
class IniFile {
public:
    // The file's values; nothing when it is missing, no regular file (it is opened without
    // waiting, so a pipe never holds the caller up) or longer than maxBytes.
    static std::optional<IniFile> Read(const std::string& filePath,
                                       std::size_t maxBytes = std::string::npos);
    // The values of bytes as a file would hold them.
    static IniFile Parse(std::string_view bytes);

    // The value of key in section; empty when either is missing or the value is empty.
    std::wstring Value(std::wstring_view section, std::wstring_view key) const;
    bool Empty() const { return values_.empty(); }

private:
    // Section and key, folded, joined by a line break (which neither can hold).
    std::unordered_map<std::wstring, std::wstring> values_;
};

// The value of key in section of the file, read anew (IniFile::Read then Value).
std::wstring ReadIniString(const std::string& filePath, std::wstring_view section,
                           std::wstring_view key);

}  // namespace os
