// The main window's private window messages and the tray icon's values.
#pragma once

#include "app/AppExitMessage.h"
#include "platform/mui/WindowTypes.h"

inline constexpr UINT WM_HOOK_KEY_EVENT = 0x676;
inline constexpr UINT WM_CALIBRATION_KEY = 0x677;
inline constexpr UINT WM_TRAY_NOTIFY = 0x69A;
inline constexpr UINT WM_UPDATE_NOTIFY = 0x69C;
inline constexpr UINT WM_CUSTOMKEY_MENU = 0x72A;
inline constexpr UINT WM_OPEN_ADVKEY_EDITOR = 0x72C;
inline constexpr UINT WM_ADVKEY_SAVED = 0x72D;
inline constexpr UINT WM_ADVKEY_PROFILE_MENU = 0x72F;
inline constexpr UINT WM_MACRO_MENU_COMMAND = 0x731;
// Ends the macro page's recording or key capture on the UI thread; wParam 0: the recording's
// step budget is spent, 1: the popups are closed.
inline constexpr UINT WM_MACRO_HOOK_STOP = 0x732;
inline constexpr UINT WM_PERF_MENU = 0x734;
inline constexpr UINT WM_LIGHT_MENU_COMMAND = 0x735;
inline constexpr UINT WM_UPGRADE_PROGRESS = 0x785;
inline constexpr UINT WM_ADVKEY_CANCELLED = 0x7E8;
inline constexpr UINT WM_ADVKEY_CLOSED = 0x7E9;
inline constexpr UINT WM_DROP_KEYFUNC = 0x7EA;

// The tray menu's one item: WM_COMMAND with this wParam ends the program.
inline constexpr WPARAM kTrayExitCommand = 100;
inline constexpr unsigned kTrayIconId = 109;
inline constexpr unsigned kTrayIconFlags = 7;  // message, icon, tip
// Timer of the firmware-upgrade progress display.
inline constexpr unsigned kUpgradeProgressTimer = 300;
