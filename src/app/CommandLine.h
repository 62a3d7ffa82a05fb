// The program's command line: the argument the autostart entry passes and the two options that
// only print something.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    bool autorun = false;  // exactly "-autorun", the autostart entry's argument
    bool help = false;     // "--help" or "-h"
    bool version = false;  // "--version"
};

// The arguments after the program's name. Others (Qt's own options among them) are left to the
// UI library.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text --help prints: how to start the program and what each argument does.
std::string UsageText();
// The text --version prints: the program's name and the version of its configuration file.
std::string VersionText();
