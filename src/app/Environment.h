// The program's environment: its own folder, the per-user data folder, folder creation and
// deletion, and INI-string reading. Paths use '/'; a path written the Windows way is accepted
// and normalised (text::NormalizePath). Safe from any thread.
#pragma once

#include <string>

// The folder of the program's files with a trailing '/': the executable's folder, or
// <prefix>/share/tolvenic for an installed program.
std::wstring GetModuleFolder();
// The same folder without the trailing '/', in UTF-8 (used for "config.xml").
std::string GetModuleFolderA();
// Makes GetModuleFolder answer with `folder` instead (a trailing '/' is added); an empty
// text goes back to the executable's folder. For tests and tools that run the program's code
// against a data folder of their own.
void SetModuleFolder(const std::wstring& folder);

// The folder of the running program file with a trailing '/' (<prefix>/bin for an installed
// program): where a command that starts the program again finds it.
std::wstring GetProgramFolder();

// The per-user data folder "$XDG_DATA_HOME/<device name> Files/", always ending in '/'; empty
// when the user has no data folder (os::DataHome). The folder is not created here.
std::wstring GetDataFolder();

// Creates the folder with every missing parent. true when the path is a folder afterwards
// (a file standing in the way gives false).
bool CreateDirectoryTree(const std::wstring& path);
// CreateDirectoryTree, and then the folder itself (not its parents) is made the user's alone
// (mode 0700), also when it was there before. true when it is a folder of mode 0700. A symbolic
// link in the folder's place is not followed: it is left as it is, and the result is false.
bool CreatePrivateFolder(const std::wstring& path);
// Deletes the folder (or file) with all its contents, silently. true when something was there
// and nothing is left. An empty path or the root folder is refused.
bool DeleteFolder(const std::wstring& path);

// The value of key in section of the INI file (os::ReadIniString): at most 259 characters,
// empty when the file, section or key is missing.
std::wstring GetIniString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& file);
