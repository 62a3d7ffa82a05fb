// Application: the program's UI application on the calling thread (which becomes the UI
// thread), for the life of the object.
#pragma once

#include <memory>
#include <string>
#include <vector>

class QApplication;

namespace MUI {

class Application {
public:
    // argc and argv as main received them; both must outlive the object.
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Names the program to the desktop: windowClass is the class of its windows (the desktop
    // entry's StartupWMClass), desktopEntry the entry's file name without ".desktop".
    static void SetIdentity(const std::string& windowClass, const std::string& desktopEntry);
    // The running application as the library's instance handle; null without one.
    static void* Instance();
    // The icon every window of the program shows (title bar, task switcher), from pictures of
    // several sizes; files that do not load are left out. False when none loads.
    static bool SetWindowIcon(const std::vector<std::wstring>& pictures);

private:
    std::unique_ptr<QApplication> application_;
};

}  // namespace MUI
