// Installing a new version of the program: where the running program was installed, whether
// the user may replace it, and the installer that runs once the program has shut down.
//
// `cmake --install` puts the program in <prefix>/bin and its data in <prefix>/share/tolvenic;
// the installer of an update package is started as "<installer> --prefix <prefix>" from the
// folder the package was unpacked into, after the program's window and worker have ended.
#pragma once

#include <optional>
#include <string>

// The prefix of an installed program whose data folder is `dataFolder` (<prefix>/share/tolvenic
// holding the program's data, with <prefix>/bin/Tolvenic beside it); nothing for a build tree.
std::optional<std::string> InstallPrefix(const std::wstring& dataFolder);

// True when the user installed the program there and may replace it: the prefix is not the
// distribution's own (/usr, whose packages are updated by the package manager) and both its
// program and data folders are writable.
bool IsUserInstall(const std::string& prefix);

// The installer to run at shutdown, kept for the whole process.
void SetPendingInstaller(const std::string& installer, const std::string& prefix);
bool HasPendingInstaller();
// Starts the pending installer in a session of its own (it outlives the program) and forgets
// it; false when none is pending or it could not start.
bool RunPendingInstaller();
