// The program's start: everything the main window needs, then the window itself, run until
// it closes.
#pragma once

#include <string>

// Runs start-up on the calling thread, which must own the Qt application (the UI thread).
// Returns 0 when another instance is already running (that one is raised), 1 after the window
// has closed, and also 1, after saying why, when the per-user folders are not safe to use.
int RunStartup(const std::wstring& commandLine);

// The show command of the main window: SW_HIDE when the command line holds "autorun", the
// autostart entry exists and "autorun_minimize" is 1; SW_SHOW otherwise.
int ChooseShowMode(const std::wstring& commandLine);

// Creates the data folder with "db" in it and empties "edit" (deleted and created again); all
// three are the user's alone (mode 0700).
void PrepareDataFolder();

// The screen test: declares DPI awareness for small screens and for 1920 x 1080 above 125 %.
void ApplyScreenDpiRule();
