// The music mode's picture: 64 rows x 256 columns of colours R | G << 8 | B << 16, row by row;
// row 0 is the top, row 63 the bottom.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kSpectrumRows = 64;
inline constexpr int kSpectrumColumns = 256;

struct SpectrumImage {
    std::array<uint32_t, kSpectrumRows * kSpectrumColumns> pixels{};

    uint32_t& At(int row, int column) { return pixels[row * kSpectrumColumns + column]; }
    uint32_t At(int row, int column) const { return pixels[row * kSpectrumColumns + column]; }
};

inline constexpr uint32_t MakeColor(int red, int green, int blue)
{
    return static_cast<uint32_t>(red & 0xFF) | static_cast<uint32_t>(green & 0xFF) << 8 |
           static_cast<uint32_t>(blue & 0xFF) << 16;
}
