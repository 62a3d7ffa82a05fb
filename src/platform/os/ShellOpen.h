// Opening a web address or a file with the desktop's preferred program.
#pragma once

#include <functional>
#include <string>

namespace os {

// A text holding "://" is opened as an address, anything else as a local file. true when the
// desktop accepted the request.
bool ShellOpen(const std::wstring& target);

// Replaces what ShellOpen does (tests); an empty function restores the desktop's handler.
void SetShellOpenHandler(std::function<bool(const std::wstring&)> handler);

}  // namespace os
