// The program's entry point: the UI application on this thread, then start-up.
#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/MainWindowSize.h"
#include "app/Startup.h"
#include "platform/mui/Application.h"
#include "platform/mui/UiThread.h"

int main(int argc, char** argv)
{
    // --help and --version only print: no window, no display needed.
    const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!line.unknown.empty()) {
        std::fprintf(stderr, "Tolvenic: unknown option %s\n%s", line.unknown.c_str(),
                     UsageText().c_str());
        return 2;
    }
    if (line.help || line.version) {
        std::fputs(line.help ? UsageText().c_str() : VersionText().c_str(), stdout);
        return 0;
    }
    MUI::Application app(argc, argv, kMainWindowWidth, kMainWindowHeight);
    // The class the desktop entry names (StartupWMClass), whatever the program file is called.
    MUI::Application::SetIdentity("Tolvenic", "tolvenic");
    MUI::EnsureApplication();
    return RunStartup(line.autorun);
}
