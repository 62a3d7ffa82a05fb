#include "update/ZipEntryName.h"

#include "platform/text/Utf8.h"

std::optional<std::string> ConfinedEntryPath(const std::wstring& name)
{
    if (name.empty() || name.front() == L'/' || name.front() == L'\\') {
        return std::nullopt;
    }
    if (name.size() >= 2 && name[1] == L':') {
        return std::nullopt;  // a drive
    }
    std::wstring path;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of(L"/\\", start);
        if (end == std::wstring::npos) {
            end = name.size();
        }
        const std::wstring part = name.substr(start, end - start);
        if (part == L"..") {
            return std::nullopt;
        }
        if (part.find(L'\0') != std::wstring::npos) {
            return std::nullopt;
        }
        if (!part.empty() && part != L".") {
            if (!path.empty()) {
                path += L'/';
            }
            path += part;
        }
        start = end + 1;
    }
    if (path.empty()) {
        return std::nullopt;
    }
    return text::WideToUtf8(path);
}
