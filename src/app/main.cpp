// The program's entry point: the UI application on this thread, then start-up.
#include <string>

#include "app/Startup.h"
#include "platform/mui/Application.h"
#include "platform/mui/UiThread.h"
#include "platform/text/Utf8.h"

int main(int argc, char** argv)
{
    MUI::Application app(argc, argv);
    MUI::EnsureApplication();
    std::wstring commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            commandLine += L' ';
        }
        commandLine += text::Utf8ToWide(argv[i]);
    }
    return RunStartup(commandLine);
}
