// SIGTERM turned into a call on the UI thread: the program ends its own way (the keyboard
// writes under way finished first) instead of at once.
#pragma once

#include <functional>

namespace MUI {

// From now on SIGTERM runs `handler` on the UI thread; a later call replaces the handler. UI
// thread, with the application running.
void OnTerminationSignal(std::function<void()> handler);

}  // namespace MUI
