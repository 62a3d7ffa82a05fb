// The transform, the windows and the colour conversion of the music mode.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <numbers>

#include "lighting/Fft256.h"
#include "lighting/HsvToRgb.h"
#include "lighting/SpectrumImage.h"
#include "lighting/SpectrumWindows.h"

namespace {

// The DFT of 512 real samples at bin k, scaled by 1/512, computed directly.
std::complex<double> DirectBin(const std::array<float, kFftPoints>& x, int k)
{
    std::complex<double> sum;
    for (int n = 0; n < kFftPoints; ++n) {
        sum += static_cast<double>(x[n]) *
               std::polar(1.0, 2.0 * std::numbers::pi * k * n / kFftPoints);
    }
    return sum / static_cast<double>(kFftPoints);
}

TEST(Fft256Test, MatchesTheDirectTransformInMagnitude)
{
    std::array<float, kFftPoints> signal{};
    for (int n = 0; n < kFftPoints; ++n) {
        signal[n] = static_cast<float>(0.7 * std::sin(2.0 * std::numbers::pi * 9 * n / 512) +
                                       0.2 * std::cos(2.0 * std::numbers::pi * 40 * n / 512) +
                                       0.05 * ((n * 7919) % 13 - 6) + 0.3);
    }
    std::array<float, kFftPoints> buffer = signal;
    Fft256(buffer);
    for (int k = 1; k < kFftPoints / 2; ++k) {
        const double expected = std::abs(DirectBin(signal, k));
        const double actual = std::hypot(buffer[2 * k], buffer[2 * k + 1]);
        EXPECT_NEAR(actual, expected, 1e-4) << "bin " << k;
    }
    EXPECT_NEAR(buffer[0], DirectBin(signal, 0).real(), 1e-4);
    EXPECT_NEAR(std::abs(buffer[1]), std::abs(DirectBin(signal, kFftPoints / 2).real()), 1e-4);
}

TEST(Fft256Test, PureToneLandsInItsBin)
{
    std::array<float, kFftPoints> buffer{};
    for (int n = 0; n < kFftPoints; ++n) {
        buffer[n] = static_cast<float>(std::cos(2.0 * std::numbers::pi * 17 * n / 512));
    }
    Fft256(buffer);
    EXPECT_NEAR(std::hypot(buffer[34], buffer[35]), 0.5, 1e-5);
    EXPECT_NEAR(std::hypot(buffer[32], buffer[33]), 0.0, 1e-5);
}

TEST(SpectrumWindowsTest, TablesHaveTheirShapes)
{
    const SpectrumTable hann = MakeWindowTable(WINDOW_HANN);
    const SpectrumTable hamming = MakeWindowTable(WINDOW_HAMMING);
    const SpectrumTable blackman = MakeWindowTable(WINDOW_BLACKMAN);
    const SpectrumTable none = MakeWindowTable(7);
    EXPECT_FLOAT_EQ(hann[0], 0.0f);
    EXPECT_FLOAT_EQ(hann[128], 1.0f);
    EXPECT_FLOAT_EQ(hamming[0], 0.08f);
    EXPECT_FLOAT_EQ(hamming[128], 1.0f);
    EXPECT_NEAR(blackman[0], 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(blackman[128], 1.0f);
    EXPECT_FLOAT_EQ(none[17], 1.0f);
    const SpectrumTable tilt = MakeTiltTable();
    EXPECT_FLOAT_EQ(tilt[0], 0.04f);
    EXPECT_FLOAT_EQ(tilt[128], 0.29f);

    std::array<float, 512> buffer;
    buffer.fill(2.0f);
    ApplyWindow(buffer, hann);
    EXPECT_FLOAT_EQ(buffer[128], 2.0f);
    EXPECT_FLOAT_EQ(buffer[0], 0.0f);
    EXPECT_FLOAT_EQ(buffer[256], 2.0f);  // only the first 256 floats are weighted
}

struct HsvCase {
    int hue;
    int saturation;
    int value;
    uint32_t expected;
};

TEST(HsvToRgbTest, Sectors)
{
    const HsvCase cases[] = {
        {0, 255, 255, MakeColor(255, 0, 0)},      {60, 255, 255, MakeColor(255, 255, 0)},
        {120, 255, 255, MakeColor(0, 255, 0)},    {180, 255, 255, MakeColor(0, 255, 255)},
        {240, 255, 255, MakeColor(0, 0, 255)},    {300, 255, 255, MakeColor(255, 0, 255)},
        {30, 255, 255, MakeColor(255, 127, 0)},   {360, 255, 255, MakeColor(255, 0, 0)},
        {420, 255, 255, MakeColor(255, 255, 0)},  {200, 0, 77, MakeColor(77, 77, 77)},
        {90, 128, 200, MakeColor(150, 200, 100)},
    };
    for (const HsvCase& c : cases) {
        EXPECT_EQ(HsvToRgb(c.hue, c.saturation, c.value), c.expected)
            << c.hue << "," << c.saturation << "," << c.value;
    }
}

}  // namespace
