#include "app/CommandLine.h"

#include "app/AppConfig.h"
#include "platform/text/Utf8.h"

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    for (const std::string& argument : arguments) {
        if (argument == "-autorun") {
            line.autorun = true;
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        }
    }
    return line;
}

std::string UsageText()
{
    return "Usage: Tolvenic [-autorun] [--help] [--version]\n"
           "The configuration program of the Tolvenic magnetic-switch keyboard.\n"
           "\n"
           "  -autorun    the start at log-in: hidden in the tray when the settings page\n"
           "              says \"start hidden\"\n"
           "  --help      prints this text\n"
           "  --version   prints the program's version\n";
}

std::string VersionText()
{
    std::wstring version;
    std::wstring storeLink;
    ReadSoftwareInfo(version, storeLink);
    return "Tolvenic " +
           (version.empty() ? std::string("(unknown version)") : text::WideToUtf8(version)) + "\n";
}
