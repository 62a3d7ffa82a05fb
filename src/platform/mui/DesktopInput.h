// Input that the desktop, not a control, gives a window: the window manager's close (its close
// button, Alt+F4) and Escape pressed while the window has the keyboard. Each is delivered to the
// window's Qt window handle, the way the platform delivers it, so the window meets it on the
// same path as on a desktop. Used by the program's scripted-input entry. UI thread only.
#pragma once

#include "platform/mui/MWindow.h"

namespace MUI {

// The window manager asks the window to close. False when the window is not on screen.
bool DeliverDesktopClose(MWindow& window);
// A press and release of Escape on the window. False when the window is not on screen.
bool DeliverDesktopEscape(MWindow& window);

}  // namespace MUI
