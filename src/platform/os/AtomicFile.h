// Whole-file reads and atomic whole-file writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace os {

// The file's bytes; nothing when it cannot be opened or read, is no regular file (a pipe is
// refused at once, never waited on) or holds more than maxBytes.
std::optional<std::string> ReadWholeFile(const std::string& path,
                                         std::size_t maxBytes = std::string::npos);

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames it
// over the target. On any failure the temporary file is removed, the target keeps its old
// content and the result is false. The folder must exist.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace os
