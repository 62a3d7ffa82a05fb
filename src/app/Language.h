// The interface language: the language id whose file supplies every text, the ids the
// program's configuration lists, the choice made at start-up, and the text and skin lookups.
#pragma once

#include <atomic>
#include <set>
#include <string>

// The language id whose file "<program folder>language/<id>.lan" supplies every text. Read
// from any thread; set by InitLanguage and the settings page's language choice.
extern std::atomic<int> CurrentLanguageId;
// The ids listed in config.xml (filled by LoadAppConfig on the UI thread at start-up).
extern std::set<int> SupportedLanguages;

// Chooses CurrentLanguageId at start-up from "LCID", else the user's interface language, and
// stores 1033 in "LCID" for the next start when the choice is not a listed language.
void InitLanguage();

// The text of number id in the section ("KB.DIALOG" or "CAPTION") of the current language
// file; its built-in English text when the file lacks it or gives it empty, or cannot be used
// (missing, no regular file, too long) (LanguageTexts). Any thread.
std::wstring GetLanString(int id, const std::wstring& section = L"KB.DIALOG");
// The word of a default name (a profile's, a macro's): text id, never blank (GetLanString), so
// that no name is made of a bare number.
std::wstring GetNameWord(int id);

// The current language file's path.
std::wstring GetLanguageFilePath();

// "<program folder>skins/<theme>" (no trailing '/').
std::wstring GetSkinPath();
