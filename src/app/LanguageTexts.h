// The texts of the language files: each file is read once (and again only after it changed on
// disk), so a lookup costs no file reading. The English texts are also built into the program
// and stand in for a file that cannot be used. Safe from any thread.
#pragma once

#include <cstddef>
#include <string>

class LanguageTexts {
public:
    // A language file holds some ten kilobytes; a longer one than this is refused.
    static constexpr std::size_t kMaxFileBytes = 1u << 20;

    // The text of key in section of the file at path (UTF-8); the built-in English text when
    // the file lacks it or gives it empty. A file that is missing, no regular file or longer
    // than kMaxFileBytes gives the built-in English texts; standard error says so once per file.
    static std::wstring Lookup(const std::string& path, const std::wstring& section,
                               const std::wstring& key);
    // The built-in English text of key in section; empty when it has none.
    static std::wstring BuiltIn(const std::wstring& section, const std::wstring& key);
    // True when the file at path can be used but names neither the caption (CAPTION 1) nor
    // the window (KB.DIALOG 1), as a file in an encoding the reader cannot make out.
    static bool GivesNoText(const std::string& path);
};
