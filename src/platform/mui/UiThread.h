// The UI thread: the thread that owns the Qt application and runs every modal loop.
#pragma once

#include <functional>

namespace MUI {

// Creates the Qt application on the calling thread unless one exists (the program does this
// first in main; tests get it on first use). That thread becomes the UI thread.
void EnsureApplication();
bool IsUiThread();
// Runs `task` on the UI thread later, in posting order. Any thread.
void PostToUiThread(std::function<void()> task);
// Runs `task` on the UI thread and waits for it: directly on the UI thread itself.
void RunOnUiThread(const std::function<void()>& task);
// Handles the UI thread's pending events for a moment (a few milliseconds): what a loop on the
// UI thread that waits for another thread calls, so that the other thread's calls onto the UI
// thread go on meanwhile. UI thread.
void ProcessUiEvents();

}  // namespace MUI
