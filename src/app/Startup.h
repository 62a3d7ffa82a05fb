// The program's start: everything the main window needs, then the window itself, run until
// it closes.
#pragma once

#include <string>

// Runs start-up on the calling thread, which must own the Qt application (the UI thread).
// Returns 0 when another instance is already running (that one is raised), 1 after the window
// has closed, and also 1, after saying why, when the per-user folders are not safe to use.
// `autorun`: the program was started with the autostart entry's argument.
int RunStartup(bool autorun);

// The show command of the main window: SW_HIDE when started with the autostart entry's
// argument, the autostart entry exists, "autorun_minimize" is 1 and a tray is there to bring
// the window back; SW_SHOW otherwise.
int ChooseShowMode(bool autorun);

// Creates the data folder with "db" in it and empties "edit" (deleted and created again); all
// three are the user's alone (mode 0700).
void PrepareDataFolder();

// The screen test: declares DPI awareness for small screens and for 1920 x 1080 above 125 %.
void ApplyScreenDpiRule();
