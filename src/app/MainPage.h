// The main window's pages: the tab control's item ids. The no-keyboard panel has no tab.
#pragma once

// The light modes and the bits of their functions.
#include "lighting/LightModes.h"

enum MainPage : int {
    PAGE_HOME = 0,
    PAGE_KEYS = 1,
    PAGE_ADVANCED_KEYS = 2,
    PAGE_MACROS = 3,
    PAGE_LIGHTING = 4,
    PAGE_SETTINGS = 6,
    PAGE_PERFORMANCE = 7,
};
