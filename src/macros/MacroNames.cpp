#include "macros/MacroNames.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr int kFirstMacros = 9;
constexpr int kLastSuffix = 1000;

}  // namespace

std::vector<std::wstring> FirstMacroNames()
{
    std::vector<std::wstring> names;
    for (int n = 1; n <= kFirstMacros; ++n) names.push_back(L"M " + std::to_wstring(n));
    return names;
}

std::wstring MakeUniqueMacroName(const std::wstring& base, const std::vector<std::wstring>& names)
{
    std::wstring name;
    for (int n = 1; n <= kLastSuffix; ++n) {
        name = NewMacroName(base, n);
        if (std::find(names.begin(), names.end(), name) == names.end()) return name;
    }
    return name;
}

std::wstring NewMacroName(const std::wstring& word, int number)
{
    return word + L" " + std::to_wstring(number);
}

std::wstring RelabelMacroName(const std::wstring& name, const std::wstring& word)
{
    for (const std::wstring_view prefix :
         {std::wstring_view(L"New Macro"), std::wstring_view(L"新建巨集"),
          std::wstring_view(L"新建宏")}) {
        if (name.compare(0, prefix.size(), prefix) == 0) return word + name.substr(prefix.size());
    }
    return name;
}

std::wstring MacroKeyLabel(int macroId, int steps)
{
    std::wstring label = L"M" + std::to_wstring(macroId);
    if (steps > 0) label += L"\n(" + std::to_wstring(steps) + L")";
    return label;
}
