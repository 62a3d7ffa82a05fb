// The relative path an archive entry may be written to, or nothing when its name would leave
// the target folder.
#pragma once

#include <optional>
#include <string>

// Splits the name at '/' and '\', drops empty and "." parts, and refuses a name that is
// absolute (a leading separator or a drive letter), holds a ".." part, or has no part left.
// The parts are joined with '/' in UTF-8.
std::optional<std::string> ConfinedEntryPath(const std::wstring& name);
