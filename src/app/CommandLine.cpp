#include "app/CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/AppConfig.h"
#include "platform/text/Utf8.h"

namespace {

// The toolkit's options, written with one dash (it takes two as well); the first group is
// followed by a value, given as the next argument or after "=".
constexpr std::array<std::string_view, 14> kToolkitOptionsWithValue = {
    "-platform",        "-platformpluginpath", "-platformtheme", "-plugin",
    "-qwindowgeometry", "-qwindowicon",        "-qwindowtitle",  "-session",
    "-display",         "-geometry",           "-name",          "-title",
    "-style",           "-stylesheet"};
constexpr std::array<std::string_view, 5> kToolkitFlags = {"-reverse", "-nograb", "-dograb",
                                                           "-sync", "-widgetcount"};

template <size_t N>
bool Contains(const std::array<std::string_view, N>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string_view name = argument;
        if (name.starts_with("--")) name.remove_prefix(1);
        const std::string_view bare = name.substr(0, name.find('='));
        if (argument == "-autorun") {
            line.autorun = true;
        } else if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--version") {
            line.version = true;
        } else if (Contains(kToolkitOptionsWithValue, bare)) {
            if (bare.size() == name.size()) ++i;  // the value follows as its own argument
        } else if (line.unknown.empty() && !Contains(kToolkitFlags, name) &&
                   argument.find("autorun") == std::string::npos) {
            line.unknown = argument;
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
