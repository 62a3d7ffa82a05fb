// The key palette's tabs and tiles: what each tab gives a key and the tiles of tabs 1..5 with
// their codes, captions and places inside the value list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/mui/WindowTypes.h"

class KBDataBase;

enum KeyPaletteTab : int {
    PALETTE_KEYS = 0,        // ordinary keys (the key-function control)
    PALETTE_MEDIA = 1,       // media and application keys: consumer usages
    PALETTE_EXTRA_KEYS = 2,  // F13..F24 and international keys: keyboard usages
    PALETTE_FUNCTIONS = 3,   // special functions of the keyboard
    PALETTE_LIGHTING = 4,    // lighting functions of the keyboard
    PALETTE_MACROS = 5,      // macros by id
};
inline constexpr int kPaletteTabCount = 6;
// Text number of the base-layer selector's caption (tile and key).
inline constexpr int kBaseLayerText = 150;

// A macro the macro tab offers: its id and its step count.
struct PaletteMacro {
    int id;
    int steps;
};
// Gives the macros the macro tab offers, in the order of the macro list.
using PaletteMacroSource = std::function<std::vector<PaletteMacro>()>;

struct PaletteTile {
    int code;
    std::wstring caption;  // "\n" breaks the line
    RECT rect;             // in the value list
};

// The macro_type a tile of the tab gives a key (KMT_CONSUMER, KMT_KEY, KMT_FUNCTION,
// KMT_MACRO); 0 for tab 0, whose items give their own, and for any other value.
int PaletteMacroType(int tab);

// Text numbers of the media tab's captions in tile order (kFirstMediaText + 0..19), and of the
// key-function control's "Disable" key. A "\n" in such a text breaks the caption's line.
inline constexpr int kFirstMediaText = 840;
inline constexpr int kDisableKeyText = 860;

// The tiles of tab 1..5 in order; empty for any other tab. baseLayerCaption is the caption of
// the base-layer function (a language text); macros gives the macro tab's macros; text gives
// the language text of a number: a media tile whose text is empty (or without text) keeps its
// English caption.
std::vector<PaletteTile> PaletteTiles(int tab, const std::wstring& baseLayerCaption,
                                      const PaletteMacroSource& macros,
                                      const std::function<std::wstring(int)>& text = nullptr);

// A language text with each "\n" (backslash, n) made a line break.
std::wstring PaletteCaptionText(std::wstring text);

// The macros a key can be given: every macro of the database in its order, as far as the
// keyboard's macro memory holds them (a key names its macro by that place), with step counts.
std::vector<PaletteMacro> PaletteMacros(KBDataBase& db);
