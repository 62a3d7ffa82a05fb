// Macro names and labels: the macros a fresh list starts with, a free name for a copy, the
// default names shown in the current language, and the label a key bound to a macro shows.
#pragma once

#include <string>
#include <vector>

// "M 1" .. "M 9".
std::vector<std::wstring> FirstMacroNames();

// "<base> <n>" with the first n from 1 that no name of the list equals; n stops at 1000.
std::wstring MakeUniqueMacroName(const std::wstring& base, const std::vector<std::wstring>& names);

// "<word> <n>": the name of a new macro.
std::wstring NewMacroName(const std::wstring& word, int number);

// A name that begins with a default word the program has used ("New Macro", "新建巨集",
// "新建宏") is shown with the current language's word in its place.
std::wstring RelabelMacroName(const std::wstring& name, const std::wstring& word);

// "M<id>", or "M<id>\n(<steps>)" for a macro with steps.
std::wstring MacroKeyLabel(int macroId, int steps);
