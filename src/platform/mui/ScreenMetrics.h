// The screen facts the program's start-up asks for: sizes in device pixels and the effective
// DPI, as the system metrics would give them.
#pragma once

#include "platform/mui/WindowTypes.h"

namespace MUI {

// The primary screen's size in device pixels; false (nothing written) without a screen.
bool GetPrimaryScreenPixels(int& width, int& height);

// The primary screen's available area (without panels and docks) in the window coordinates
// the windows use; false (nothing written) without a screen.
bool GetWorkArea(RECT& area);

// The effective horizontal DPI (logical DPI x device pixel ratio, rounded) of the screen at
// point (1, 1), else of the primary screen; 0 without a GUI application or a screen.
int GetEffectiveScreenDpi();

}  // namespace MUI
