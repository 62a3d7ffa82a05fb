// A keyboard model's layout document, "layouts/<layout key>.xml" beside the program: the
// lighting defaults, the keyboard drawing's colour and size, every key's code, caption,
// icon and rectangle, and the music grid of key codes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lighting/MusicGrid.h"

// Every position and size a layout gives is kept within 0..kLayoutExtentMax pixels, so sums of
// them never overflow and a damaged file cannot place keys far off the view.
inline constexpr int kLayoutExtentMax = 10000;

// One key element of the layout.
struct LayoutKeyItem {
    int code = 0;  // the key's HID usage (255 the FN key)
    std::wstring name;
    std::wstring desc;
    std::wstring icon;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int row = -1;  // music-grid position; -1 when the key has none inside the grid
    int column = -1;
};

struct LayoutFileData {
    bool hasLight = false;  // the optional light element was present
    bool rgbKeyboard = false;
    int defaultMode = 0;
    int defaultBrightness = 0;
    int defaultSpeed = 0;
    int brightnessMax = 0;

    bool hasKeyboard = false;
    uint32_t keyboardColor = 0;
    int keyboardWidth = 0;
    int keyboardHeight = 0;
    int rowCount = 0;
    int columnCount = 0;
    std::vector<LayoutKeyItem> keys;  // in document order
    // Low byte of the code placed at each position; 0 where no key is.
    uint8_t musicGrid[kMusicGridRows][kMusicGridColumns] = {};

    // Whether a key has an area to be drawn and clicked in.
    bool HasUsableKey() const;
};

// The music-grid position "R-C": the row is the first character, the column the last
// character (a text of exactly three characters) or the last two (a longer text). False
// when the text has no such form or the position lies outside the 8 x 32 grid.
bool ParseKeyPosition(const std::wstring& text, int& row, int& column);

// Loads and parses the file; false (data left empty) when it cannot be read, is not well
// formed or has no device.info root. Positions and sizes are clamped to 0..kLayoutExtentMax,
// the grid's row and column counts to the grid.
bool LoadLayoutFile(const std::wstring& path, LayoutFileData& data);
