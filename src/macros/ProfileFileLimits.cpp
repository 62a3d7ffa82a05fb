#include "macros/ProfileFileLimits.h"

#include "storage/DefaultConfig.h"

std::wstring FileText(std::wstring_view text)
{
    return std::wstring(text.substr(0, ProfileFileLimit::kTextLength));
}

bool IsProfileConfigKey(std::wstring_view key)
{
    for (const storage::DefaultConfigEntry& entry : storage::DefaultConfigRows()) {
        const std::string_view name(entry.key);
        if (name == "version" || name.size() != key.size()) continue;
        bool same = true;
        for (size_t i = 0; i < name.size() && same; ++i)
            same = key[i] == static_cast<wchar_t>(name[i]);
        if (same) return true;
    }
    return false;
}
