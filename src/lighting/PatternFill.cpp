#include "lighting/PatternFill.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "lighting/HsvToRgb.h"

namespace {

// Degrees per column of the sine rainbow (360 / 255), and the constants of its phases as the
// look was designed with them (3.14 rather than pi).
constexpr double kDegreesPerColumn = 1.4117647;
constexpr double kTwoPi = 2.0 * 3.14;
constexpr double kThirdTurn = 2.0933335;

int ScaleChannel(int channel, int level) { return (channel * level / 256) & 0xFF; }

uint32_t SineRainbowColor(double position, float hue, int level)
{
    const double angle =
        static_cast<double>(static_cast<int>(position - hue) % 360) / 360.0 * kTwoPi;
    const int red = static_cast<int>((std::sin(angle) + 1.0) * 127.0);
    const int green = static_cast<int>((std::sin(angle - kThirdTurn) + 1.0) * 127.0);
    const int blue = static_cast<int>((std::sin(angle + kThirdTurn) + 1.0) * 127.0);
    return MakeColor(ScaleChannel(red, level), ScaleChannel(green, level),
                     ScaleChannel(blue, level));
}

}  // namespace

int BrightnessLevel(int brightness) { return static_cast<int>(brightness * 2.55); }

uint32_t ScaleColor(uint32_t color, int brightness)
{
    const int level = BrightnessLevel(brightness);
    return MakeColor(ScaleChannel(static_cast<int>(color & 0xFF), level),
                     ScaleChannel(static_cast<int>(color >> 8 & 0xFF), level),
                     ScaleChannel(static_cast<int>(color >> 16 & 0xFF), level));
}

void FillSolid(SpectrumImage& image, uint32_t color, int brightness)
{
    image.pixels.fill(ScaleColor(color, brightness));
}

void FillGradient(SpectrumImage& image, std::span<const uint32_t> colors, int brightness)
{
    const int count = static_cast<int>(colors.size());
    const auto x = static_cast<float>(count);
    for (int row = 1; row < kSpectrumRows; ++row) {
        const int index = std::clamp(static_cast<int>(x - x / 63.0f * row), 0, count - 1);
        const uint32_t color = ScaleColor(colors[index], brightness);
        std::fill_n(&image.At(row, 0), kSpectrumColumns, color);
    }
    for (int column = 0; column < kSpectrumColumns; ++column) {
        int index = 0;
        if (column >= 128) {
            index = (column - 128) * count / 128;
        } else {
            index = std::min(static_cast<int>(x - x / 128.0f * column), count - 1);
        }
        image.At(0, column) = ScaleColor(colors[std::clamp(index, 0, count - 1)], brightness);
    }
}

void FillHueAngle(SpectrumImage& image, int centerRow, float hue, int brightness)
{
    // The angle of each entry never changes: one table per centre row, made once.
    using AngleTable = std::array<uint16_t, kSpectrumRows * kSpectrumColumns>;
    const auto makeAngles = [](int center) {
        AngleTable angles{};
        for (int row = 0; row < kSpectrumRows; ++row) {
            for (int column = 0; column < kSpectrumColumns; ++column) {
                const double degrees =
                    std::atan2(row - center, column - 128) * 180.0 / std::numbers::pi;
                angles[row * kSpectrumColumns + column] =
                    static_cast<uint16_t>(static_cast<int>(degrees + 180.0) % 360);
            }
        }
        return angles;
    };
    static const AngleTable middle = makeAngles(32);
    static const AngleTable bottom = makeAngles(64);
    const AngleTable* angles = &middle;
    AngleTable own;
    if (centerRow == 64) {
        angles = &bottom;
    } else if (centerRow != 32) {
        own = makeAngles(centerRow);
        angles = &own;
    }
    // int(angle + hue) is angle + int(hue) for the whole angles and hues of 0 or more.
    const int value = BrightnessLevel(brightness);
    const int turn = static_cast<int>(hue);
    std::array<uint32_t, 360> colors;
    for (int degree = 0; degree < 360; ++degree) {
        colors[degree] = HsvToRgb(degree + turn, 255, value);
    }
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = colors[(*angles)[i]];
    }
}

void FillHueColumns(SpectrumImage& image, float hue, int brightness)
{
    const int value = BrightnessLevel(brightness) & 0xFF;
    for (int column = 0; column < kSpectrumColumns; ++column) {
        const int columnHue = static_cast<int>(256 - column + hue) % 360;
        const uint32_t color = HsvToRgb(columnHue, 255, value);
        for (int row = 0; row < kSpectrumRows; ++row) {
            image.At(row, column) = color;
        }
    }
}

void FillSineRainbow(SpectrumImage& image, float hue, int brightness)
{
    const int level = BrightnessLevel(brightness);
    for (int column = 0; column < kSpectrumColumns; ++column) {
        const uint32_t color = SineRainbowColor(column * kDegreesPerColumn, hue, level);
        for (int row = 0; row < kSpectrumRows; ++row) {
            image.At(row, column) = color;
        }
    }
}

void FillSineColour(SpectrumImage& image, float hue, int brightness)
{
    image.pixels.fill(SineRainbowColor(kDegreesPerColumn, hue, BrightnessLevel(brightness)));
}
