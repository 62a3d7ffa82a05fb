// The keyboard's fixed definitions shared by the main window; a base without virtual
// operations.
#pragma once

struct KeyboardDef {
    // The colour every key of a view starts with.
    static constexpr unsigned kDefaultKeyColor = 0x232323;
};
