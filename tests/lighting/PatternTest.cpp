// The patterns of the music mode and the composition of a frame.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "lighting/ComposeSpectrum.h"
#include "lighting/RenderPattern.h"
#include "lighting/SpectrumImage.h"

namespace {

constexpr uint32_t kSentinel = 0xABCDEF;

struct PixelCase {
    int code;
    int brightness;
    int row;
    int column;
    uint32_t expected;
};

TEST(RenderPatternTest, GoldenPixels)
{
    const PixelCase cases[] = {
        {7, 50, 10, 10, MakeColor(126, 0, 0)},  // red at half level
        {7, 50, 0, 255, MakeColor(126, 0, 0)},
        {0, 100, 40, 3, MakeColor(0, 0, 0)},
        {6, 0, 40, 3, MakeColor(0, 0, 0)},  // brightness 0 is black
        {8, 50, 5, 5, MakeColor(126, 31, 0)},
        {13, 50, 5, 5, MakeColor(31, 0, 126)},
        {11, 100, 63, 0, MakeColor(0, 0, 253)},
        // Bands of green, yellow, red: the first colour at the bottom, the last at row 1; in
        // row 0 the first colour at the centre and the last at both edges.
        {1, 100, 63, 100, MakeColor(0, 253, 0)},
        {1, 100, 1, 100, MakeColor(253, 0, 0)},
        {1, 100, 0, 127, MakeColor(0, 253, 0)},
        {1, 100, 0, 128, MakeColor(0, 253, 0)},
        {1, 100, 0, 0, MakeColor(253, 0, 0)},
        {1, 100, 0, 255, MakeColor(253, 0, 0)},
        {2, 100, 1, 7, MakeColor(253, 0, 253)},   // six bands: magenta last
        {3, 100, 63, 7, MakeColor(253, 0, 253)},  // reversed: magenta first
        {15, 100, 1, 9, MakeColor(253, 253, 253)},
        {16, 100, 63, 9, MakeColor(253, 0, 0)},
        // Hue 0: one colour of value int(100 x 2.55), and the hue per column.
        {5, 100, 30, 30, MakeColor(254, 0, 0)},
        {18, 100, 0, 16, MakeColor(0, 0, 254)},  // column c has hue 256 - c
        {18, 100, 40, 136, MakeColor(0, 254, 0)},
    };
    for (const PixelCase& c : cases) {
        SpectrumImage image;
        image.pixels.fill(kSentinel);
        RenderPattern(c.code, c.brightness, 0.0f, image);
        EXPECT_EQ(image.At(c.row, c.column), c.expected)
            << "pattern " << c.code << " at " << c.row << "," << c.column;
    }
}

TEST(RenderPatternTest, UnknownCodesLeaveTheImage)
{
    for (const int code : {-1, 21, 99}) {
        SpectrumImage image;
        image.pixels.fill(kSentinel);
        RenderPattern(code, 100, 0.0f, image);
        EXPECT_EQ(std::set<uint32_t>(image.pixels.begin(), image.pixels.end()),
                  std::set<uint32_t>{kSentinel});
    }
}

TEST(RenderPatternTest, EveryKnownCodePaintsEveryEntry)
{
    for (int code = 0; code < kPatternCount; ++code) {
        SpectrumImage image;
        image.pixels.fill(0xFF000000u);  // no painted colour has a fourth byte
        RenderPattern(code, 100, 45.0f, image);
        for (const uint32_t pixel : image.pixels) {
            ASSERT_EQ(pixel >> 24, 0u) << "pattern " << code;
        }
    }
}

TEST(RenderPatternTest, RotatingPatternsFollowTheHue)
{
    for (const int code : {4, 5, 17, 18, 19, 20}) {
        SpectrumImage first;
        SpectrumImage later;
        RenderPattern(code, 100, 0.0f, first);
        RenderPattern(code, 100, 90.0f, later);
        EXPECT_NE(first.pixels, later.pixels) << "pattern " << code;
    }
    // The sine rainbow by column: a hue of 1.4117647 x c degrees moves it by c columns.
    SpectrumImage still;
    SpectrumImage moved;
    RenderPattern(17, 100, 0.0f, still);
    RenderPattern(17, 100, 1.4117647f * 10, moved);
    EXPECT_EQ(moved.At(20, 110), still.At(20, 100));
}

TEST(RenderPatternTest, HueAngleCentres)
{
    // Straight left of the centre the angle is 0 degrees, straight right 180.
    SpectrumImage image;
    RenderPattern(4, 100, 0.0f, image);
    EXPECT_EQ(image.At(32, 0), MakeColor(254, 0, 0));
    EXPECT_EQ(image.At(32, 255), MakeColor(0, 254, 254));
    RenderPattern(19, 100, 0.0f, image);
    EXPECT_EQ(image.At(63, 0), MakeColor(254, 0, 0));
}

class ComposeTest : public testing::Test {
protected:
    static constexpr uint32_t kFore = MakeColor(255, 0, 0);
    static constexpr uint32_t kBack = MakeColor(0, 0, 9);

    void SetUp() override
    {
        foreground.pixels.fill(kFore);
        background.pixels.fill(kBack);
        levels.fill(0.0f);
    }
    int LitRows(int column) const
    {
        int lit = 0;
        for (int row = 1; row < kSpectrumRows; ++row) {
            lit += out.At(row, column) == kFore ? 1 : 0;
        }
        return lit;
    }

    std::array<float, kSpectrumColumns> levels{};
    SpectrumImage foreground;
    SpectrumImage background;
    SpectrumImage out;
};

TEST_F(ComposeTest, BarsRiseFromTheBottomUnderTheLevel)
{
    levels[40] = 1.0f;
    levels[41] = 0.5f;
    levels[42] = 1.0f / 64;  // exactly one row's worth lights nothing
    levels[43] = 1.5f / 64;
    ComposeSpectrum(levels, background, foreground, out);
    EXPECT_EQ(LitRows(40), 63);
    EXPECT_EQ(LitRows(41), 31);  // rows 33..63
    EXPECT_EQ(out.At(33, 41), kFore);
    EXPECT_EQ(out.At(32, 41), kBack);
    EXPECT_EQ(LitRows(42), 0);
    EXPECT_EQ(LitRows(43), 1);
    EXPECT_EQ(out.At(63, 43), kFore);
    EXPECT_EQ(LitRows(39), 0);
    EXPECT_EQ(out.At(0, 40), kBack);  // row 0 follows only the bass meter
}

TEST_F(ComposeTest, BassMeterGrowsFromTheCentre)
{
    levels[5] = 0.55f;  // 0.5 above the floor
    ComposeSpectrum(levels, background, foreground, out);
    for (int column = 0; column < kSpectrumColumns; ++column) {
        const bool lit = column >= 64 && column < 192;
        EXPECT_EQ(out.At(0, column), lit ? kFore : kBack) << column;
    }
    levels[5] = 0.05f;  // at the floor: dark
    ComposeSpectrum(levels, background, foreground, out);
    EXPECT_EQ(out.At(0, 127), kBack);
    EXPECT_EQ(out.At(0, 128), kBack);
}

}  // namespace
