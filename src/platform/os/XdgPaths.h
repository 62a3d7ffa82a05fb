// Where the program's per-user files live, after the XDG base-directory rules.
#pragma once

#include <string>

namespace os {

// $XDG_CONFIG_HOME, else $HOME/.config. No trailing separator.
std::string ConfigHome();
// $XDG_DATA_HOME, else $HOME/.local/share. No trailing separator.
std::string DataHome();
// $XDG_RUNTIME_DIR, else a private folder under /tmp made for this user. No trailing separator.
std::string RuntimeDir();
// Full path of the running executable; empty when it cannot be read.
std::string ExecutablePath();

// A name (UTF-8) made safe as one path component: separators and control characters become
// '_', and an empty name or one made of dots only becomes "_".
std::string SafeFileName(const std::wstring& name);

}  // namespace os
