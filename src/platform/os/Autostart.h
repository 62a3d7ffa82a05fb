// The log-in autostart entries that stand in for the values of the Run registry key.
//
// A value named N is the XDG autostart entry $XDG_CONFIG_HOME/autostart/N.desktop; the value's
// text is the command the entry runs (its Exec line). The text reads back as written.
#pragma once

#include <optional>
#include <string>

namespace os {

// The command of the entry; nothing when there is no entry of that name.
std::optional<std::wstring> ReadAutostart(const std::wstring& name);
// Writes (or replaces) the entry atomically; the autostart folder is created when missing.
bool WriteAutostart(const std::wstring& name, const std::wstring& command);
// Removes the entry; true when no entry of that name is left.
bool DeleteAutostart(const std::wstring& name);

// The Exec line for a command text: an executable path holding blanks is quoted, and the
// characters the desktop-entry format reserves are escaped.
std::string DesktopExecLine(const std::wstring& command);

}  // namespace os
