// The music mode's key mapping, its levels, and which frames go to the keyboard.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "lighting/MusicFrameFilter.h"
#include "lighting/MusicGrid.h"
#include "lighting/MusicLevels.h"

namespace {

struct GridCase {
    int rows;
    int columns;
    std::vector<int> imageRows;
    std::vector<int> imageColumns;
};

TEST(MusicGridTest, IndexTablesSpreadTheGridOverThePicture)
{
    const GridCase cases[] = {
        {6,
         16,
         {7, 17, 27, 37, 47, 57},
         {0, 15, 30, 45, 60, 75, 90, 105, 120, 135, 150, 165, 180, 195, 210, 225}},
        {4, 1, {9, 24, 39, 54}, {0}},
        {1, 2, {33}, {0, 127}},
        {8, 32, {5, 12, 19, 26, 33, 40, 47, 54}, {}},
        {12, 40, {5, 12, 19, 26, 33, 40, 47, 54}, {}},  // beyond the grid: clamped to 8 x 32
    };
    for (const GridCase& c : cases) {
        MusicGrid grid;
        grid.rows = c.rows;
        grid.columns = c.columns;
        grid.imageRow.fill(-1);
        BuildMusicGrid(grid);
        for (size_t r = 0; r < c.imageRows.size(); ++r) {
            EXPECT_EQ(grid.imageRow[r], c.imageRows[r]) << c.rows << " rows, row " << r;
        }
        for (size_t r = c.imageRows.size(); r < grid.imageRow.size(); ++r) {
            EXPECT_EQ(grid.imageRow[r], 0);
        }
        for (size_t col = 0; col < c.imageColumns.size(); ++col) {
            EXPECT_EQ(grid.imageColumn[col], c.imageColumns[col]) << c.columns << " columns";
        }
    }
    MusicGrid wide;
    wide.rows = 8;
    wide.columns = 32;
    BuildMusicGrid(wide);
    EXPECT_EQ(wide.imageColumn[31], 31 * 7);
}

TEST(MusicGridTest, GridWithoutRowsOrColumnsMapsNothing)
{
    for (const auto& [rows, columns] : {std::pair{0, 16}, std::pair{6, 0}}) {
        MusicGrid grid;
        grid.rows = rows;
        grid.columns = columns;
        grid.keys.fill(0x29);
        grid.imageRow.fill(3);
        BuildMusicGrid(grid);
        EXPECT_EQ(grid.imageRow[0], 0);
        SpectrumImage image;
        image.pixels.fill(0xFFFFFF);
        int calls = 0;
        EXPECT_FALSE(MapMusicFrame(grid, image, [&](int, uint32_t) { ++calls; }));
        EXPECT_EQ(calls, 0);
    }
}

TEST(MusicGridTest, KeysTakeTheColourOfTheirCellAndDarkFramesAreNotLit)
{
    MusicGrid grid;
    grid.rows = 6;
    grid.columns = 16;
    grid.keys[0 * kMusicGridColumns + 0] = 0x29;  // Esc
    grid.keys[5 * kMusicGridColumns + 15] = 0x4F;
    grid.keys[2 * kMusicGridColumns + 3] = 0x20;
    BuildMusicGrid(grid);
    SpectrumImage image;
    image.At(7, 0) = 0x0000FF;
    image.At(57, 225) = 0x00FF00;
    image.At(27, 45) = 1;
    std::vector<std::pair<int, uint32_t>> colours;
    const auto record = [&](int key, uint32_t colour) { colours.emplace_back(key, colour); };
    EXPECT_TRUE(MapMusicFrame(grid, image, record));
    const std::vector<std::pair<int, uint32_t>> expected{
        {0x29, 0x0000FF}, {0x20, 1}, {0x4F, 0x00FF00}};
    EXPECT_EQ(colours, expected);

    // Black and the nearly black 1 are a dark frame (shown, not sent).
    image.pixels.fill(0);
    image.At(27, 45) = 1;
    colours.clear();
    EXPECT_FALSE(MapMusicFrame(grid, image, record));
    EXPECT_EQ(colours.size(), 3u);
}

TEST(MusicLevelsTest, LevelsBecomeGainsAndPercentagesWithinRange)
{
    const int gains[] = {100, 200, 300, 500, 800, 1000};
    for (int level = 0; level <= kMusicLevelMax; ++level) {
        EXPECT_EQ(MusicAmplitudeGain(level), gains[level]);
        EXPECT_EQ(MusicBackgroundPercent(level), level * 20);
    }
    // The database's default row says 20 for the background: the brightest level, not 400 %.
    EXPECT_EQ(MusicBackgroundPercent(20), 100);
    EXPECT_EQ(MusicAmplitudeGain(9), 1000);
    EXPECT_EQ(MusicAmplitudeGain(-1), 100);
    EXPECT_EQ(MusicBackgroundPercent(-3), 0);
}

TEST(MusicFrameFilterTest, SendsChangesAndOneDarkFrameAfterTheSound)
{
    struct Step {
        std::vector<uint32_t> colors;
        bool lit;
        bool sent;
    };
    const std::vector<Step> steps{
        {{0, 0, 0}, false, false},  // silence from the start: nothing to clear
        {{9, 0, 0}, true, true},    // sound
        {{9, 0, 0}, true, false},   // the same frame again
        {{9, 7, 0}, true, true},    // changed
        {{0, 1, 0}, false, true},   // the sound stops: one dark frame
        {{0, 0, 0}, false, false},  // and no more
        {{9, 7, 0}, true, true},    // sound again, even as before the pause
    };
    MusicFrameFilter filter;
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(filter.ShouldSend(steps[i].colors, steps[i].lit), steps[i].sent) << "step " << i;
    }
    filter.Reset();
    EXPECT_TRUE(filter.ShouldSend(std::vector<uint32_t>{9, 7, 0}, true));
}

}  // namespace
