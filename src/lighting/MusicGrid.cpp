#include "lighting/MusicGrid.h"

#include <algorithm>

void BuildMusicGrid(MusicGrid& grid)
{
    grid.imageRow.fill(0);
    grid.imageColumn.fill(0);
    const int rows = std::min(grid.rows, kMusicGridRows);
    const int columns = std::min(grid.columns, kMusicGridColumns);
    if (rows < 1 || columns < 1) {
        return;
    }
    const int rowStep = 62 / rows;
    for (int r = 0; r < rows; ++r) {
        grid.imageRow[r] = static_cast<int>(r * rowStep + 2 + rowStep * 0.5);
    }
    const int columnStep = 255 / columns;
    for (int c = 0; c < columns; ++c) {
        grid.imageColumn[c] = c * columnStep;
    }
}

bool MapMusicFrame(const MusicGrid& grid, const SpectrumImage& image,
                   const std::function<void(int keyCode, uint32_t color)>& setKeyColor)
{
    const int rows = std::min(grid.rows, kMusicGridRows);
    const int columns = std::min(grid.columns, kMusicGridColumns);
    if (rows < 1 || columns < 1) {
        return false;
    }
    bool lit = false;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int key = grid.keys[r * kMusicGridColumns + c];
            if (key == 0) {
                continue;
            }
            const uint32_t color = image.At(grid.imageRow[r], grid.imageColumn[c]);
            setKeyColor(key, color);
            lit = lit || color > 1;
        }
    }
    return lit;
}
