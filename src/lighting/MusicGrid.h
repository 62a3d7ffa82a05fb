// Where the keys sit in the music mode's picture: the layout's grid of key codes (up to 8 rows
// of 32 cells, 0 = no key) and, per grid row and column, the row and column of the SpectrumImage
// that colours it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "lighting/SpectrumImage.h"

inline constexpr int kMusicGridRows = 8;
inline constexpr int kMusicGridColumns = 32;

struct MusicGrid {
    int rows = 0;     // used rows, at most kMusicGridRows
    int columns = 0;  // used columns, at most kMusicGridColumns
    // Key code (low byte) per cell, at [row x 32 + column].
    std::array<uint8_t, kMusicGridRows * kMusicGridColumns> keys{};
    // Filled by BuildMusicGrid.
    std::array<int, kMusicGridRows> imageRow{};
    std::array<int, kMusicGridColumns> imageColumn{};
};

// The index tables from rows and columns (clamped to the grid's size): image row of grid row r
// = int(r x (62 div rows) + 2 + (62 div rows) x 0.5), image column of grid column c =
// c x (255 div columns). Both tables stay zero when rows or columns is below 1.
void BuildMusicGrid(MusicGrid& grid);

// Calls setKeyColor(key code, colour) for every cell of the grid that holds a key, with the
// image's colour at the cell's row and column. True when the frame is lit: some colour is above
// 1 (0 and 1 count as black).
bool MapMusicFrame(const MusicGrid& grid, const SpectrumImage& image,
                   const std::function<void(int keyCode, uint32_t color)>& setKeyColor);
