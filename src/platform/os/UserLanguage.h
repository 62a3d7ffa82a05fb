// The user's interface language as a Windows language id (LANGID), from the POSIX locale.
#pragma once

#include <string_view>

namespace os {

// From LANGUAGE (its first entry), LC_ALL, LC_MESSAGES or LANG, the first one set; 1033 when
// none names a language this table knows.
int GetUserDefaultUILanguage();

// A locale name such as "zh_CN.UTF-8", "de_AT@euro", "pt-BR" or "ja" as a language id; a bare
// language takes its main country's id. 0 for "C", "POSIX" and unknown names.
int LanguageIdFromLocaleName(std::string_view locale);

}  // namespace os
