// The program's command line: the argument the autostart entry passes, the two options that
// only print something, and the options of the UI toolkit, which it takes itself.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    bool autorun = false;  // exactly "-autorun", the autostart entry's argument
    bool help = false;     // "--help" or "-h"
    bool version = false;  // "--version"
    // The first argument that is none of these, no toolkit option and holds no "autorun";
    // empty when every argument is known.
    std::string unknown;
};

// The arguments after the program's name. The toolkit's own options ("-platform offscreen",
// "--style=fusion", ...) are known and left to the UI library; an argument holding "autorun"
// is accepted, though only "-autorun" starts hidden.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text --help prints: how to start the program and what each argument does.
std::string UsageText();
// The text --version prints: the program's name and the version of its configuration file.
std::string VersionText();
