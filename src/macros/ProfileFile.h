// Profile exchange files on disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "macros/ProfileFileContent.h"

// Larger files are not profile files (a whole profile takes well under a megabyte).
inline constexpr uintmax_t kProfileFileMaxBytes = 8u << 20;

// The file's content; nothing when it is missing, too large, unreadable or not a profile file
// this program can take (see ReadProfileXml).
std::optional<ProfileFileContent> LoadProfileFile(const std::wstring& path);

// Writes the content as UTF-8; false when it could not be written, and then no file is left
// (an existing file keeps its old content).
bool SaveProfileFile(const std::wstring& path, const ProfileFileContent& content);
