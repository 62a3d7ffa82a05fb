// The SHA-256 digest of a file.
#pragma once

#include <optional>
#include <string>

namespace os {

// The file's SHA-256 as 64 lower-case hexadecimal digits; nothing when it cannot be read.
std::optional<std::string> FileSha256(const std::wstring& path);

}  // namespace os
