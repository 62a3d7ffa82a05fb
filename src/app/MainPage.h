// The main window's pages: the tab control's item ids. The no-keyboard panel has no tab.
#pragma once

enum MainPage : int {
    PAGE_HOME = 0,
    PAGE_KEYS = 1,
    PAGE_ADVANCED_KEYS = 2,
    PAGE_MACROS = 3,
    PAGE_LIGHTING = 4,
    PAGE_SETTINGS = 6,
    PAGE_PERFORMANCE = 7,
};

// Bits of a light mode's functions.
inline constexpr unsigned LIGHT_FUNC_USER_COLORS = 0x100;
inline constexpr unsigned LIGHT_FUNC_MUSIC = 0x200;
