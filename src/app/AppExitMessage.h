// The message another process sends to end the program: WM_APP_EXIT with lParam 610.
#pragma once

#include "platform/mui/WindowTypes.h"

inline constexpr UINT WM_APP_EXIT = 0x69B;
inline constexpr LPARAM kAppExitCode = 610;
