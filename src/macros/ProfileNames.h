// Profile names: the name a stored profile is shown with, and the names new profiles get.
#pragma once

#include <string>
#include <vector>

// A stored name that starts with one of the default words the program has used ("配置方案",
// then "Profile") is shown with the current language's word in its place; any other name is
// shown as stored.
std::wstring ProfileDisplayName(const std::wstring& stored, const std::wstring& defaultWord);

// A name fit for one line of a list: control characters are shown as blanks. The stored name
// keeps them.
std::wstring OneLineProfileName(std::wstring name);

// The display name of a stored name, on one line: what the profile lists show.
std::wstring ListedProfileName(const std::wstring& stored, const std::wstring& defaultWord);

// The names of the profiles a fresh database starts with: "<word> 1", "<word> 2", "<word> 3".
std::vector<std::wstring> FirstProfileNames(const std::wstring& defaultWord);
