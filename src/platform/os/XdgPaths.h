// Where the program's per-user files live, after the XDG base-directory rules.
#pragma once

#include <string>

namespace os {

// $XDG_CONFIG_HOME, else $HOME/.config; empty when neither is set (a shared folder such as
// /tmp is never taken in their place). No trailing separator.
std::string ConfigHome();
// $XDG_DATA_HOME, else $HOME/.local/share; empty when neither is set. No trailing separator.
std::string DataHome();
// $XDG_RUNTIME_DIR, else tolvenic-runtime-<uid> in $TMPDIR or /tmp, made for this user and
// used only while it is a folder (not a link) owned by this user that nobody else may enter
// (mode 0700): another user could otherwise block it or listen in its place. Empty when that
// folder cannot be used. No trailing separator.
std::string RuntimeDir();
// Why the per-user folders above cannot be used, as a sentence for the user; empty when all
// three can. A safe stand-in for an unset $XDG_RUNTIME_DIR is named in `notice`.
std::string UserFolderProblem(std::string* notice = nullptr);
// Full path of the running executable; empty when it cannot be read.
std::string ExecutablePath();

// A name (UTF-8) made safe as one path component: separators and control characters become
// '_', and an empty name or one made of dots only becomes "_".
std::string SafeFileName(const std::wstring& name);

}  // namespace os
