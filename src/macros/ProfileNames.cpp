#include "macros/ProfileNames.h"

#include <iterator>

namespace {

// Tested in this order: the Chinese word first.
constexpr const wchar_t* kDefaultWords[] = {L"配置方案", L"Profile"};
constexpr int kFirstProfileCount = 3;

}  // namespace

std::wstring ProfileDisplayName(const std::wstring& stored, const std::wstring& defaultWord)
{
    for (const wchar_t* word : kDefaultWords) {
        const std::wstring prefix(word);
        if (stored.starts_with(prefix)) return defaultWord + stored.substr(prefix.size());
    }
    return stored;
}

std::wstring OneLineProfileName(std::wstring name)
{
    for (wchar_t& c : name) {
        if (c < L' ' || c == 0x7F) c = L' ';
    }
    return name;
}

std::wstring ListedProfileName(const std::wstring& stored, const std::wstring& defaultWord)
{
    return OneLineProfileName(ProfileDisplayName(stored, defaultWord));
}

std::vector<std::wstring> FirstProfileNames(const std::wstring& defaultWord)
{
    std::vector<std::wstring> names;
    for (int n = 1; n <= kFirstProfileCount; ++n) {
        names.push_back(defaultWord + L" " + std::to_wstring(n));
    }
    return names;
}
