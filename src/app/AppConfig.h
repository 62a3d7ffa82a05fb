// The program's configuration file "config.xml" in the program folder: the listed languages
// and the device name.
#pragma once

#include <string>

// Empties SupportedLanguages and fills it from the file's language list, and hands the
// software name to the UI library as the device name. A missing or malformed file leaves no
// language listed (false then); whenever the file names no software, the device name is the
// built-in "Tolvenic", said on standard error.
bool LoadAppConfig();
// The software element's version and store link; each stays as it is when the file does not
// give it.
void ReadSoftwareInfo(std::wstring& version, std::wstring& storeLink);
