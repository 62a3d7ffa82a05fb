// Per-user settings store that stands in for the HKCU registry.
//
// A key "SOFTWARE\<name>" (or just "<name>") lives in $XDG_CONFIG_HOME/<name>/registry.ini;
// its values are texts. Every change rewrites the file atomically (temporary file + rename),
// so a failed write leaves the previous file whole. Value names compare case-insensitively
// (ASCII), as registry value names do. Safe to call from any thread.
//
// The autostart key "SOFTWARE\Microsoft\Windows\CurrentVersion\Run" is routed to the XDG
// autostart entries (see Autostart.h): its values are the commands of those entries.
#pragma once

#include <optional>
#include <string>

namespace os {

// True when the key's file exists and can be read.
bool RegKeyExists(const std::wstring& keyName);
// Creates the key (an empty store) when it is missing; true when it exists afterwards.
bool RegCreateKey(const std::wstring& keyName);
// The value's text; nothing when the key or the value is missing.
std::optional<std::wstring> RegReadString(const std::wstring& keyName,
                                          const std::wstring& valueName);
// false when the key is missing; never creates it
bool RegWriteString(const std::wstring& keyName, const std::wstring& valueName,
                    const std::wstring& value);

}  // namespace os
