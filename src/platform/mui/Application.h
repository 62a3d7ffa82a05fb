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
    // argc and argv as main received them; both must outlive the object. When the primary
    // screen's work area is smaller than the main window's design size (designWidth x
    // designHeight window coordinates), every window is drawn smaller by one factor, so that
    // the window keeps its design coordinates and fits the screen; 0 x 0 never scales.
    Application(int& argc, char** argv, int designWidth = 0, int designHeight = 0);
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
    // The factor the windows are drawn with to fit the screen (1 when they fit as designed).
    static double FitFactor();

private:
    std::unique_ptr<QApplication> application_;
};

// The factor that fits a design of designWidth x designHeight into a work area of
// areaWidth x areaHeight (same units): at most 1, 1 for an empty area or design.
double FitFactorFor(int areaWidth, int areaHeight, int designWidth, int designHeight);

}  // namespace MUI
