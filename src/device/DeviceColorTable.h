// The keyboard's per-key colour tables (stored user colours and the live colours shown now):
// key index i at i x 3 as red, green, blue, 128 keys, 384 bytes sent in 7 chunks. A colour as
// an integer is red | green << 8 | blue << 16.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/DeviceReport.h"

inline constexpr int kColorTableKeys = 128;
inline constexpr size_t kColorTableBytes = kColorTableKeys * 3;
inline constexpr size_t kColorTableChunks =
    (kColorTableBytes + REPORT_DATA_MAX - 1) / REPORT_DATA_MAX;
static_assert(kColorTableBytes == 384);
static_assert(kColorTableChunks == 7);

constexpr bool ColorIndexValid(int keyIndex) { return keyIndex >= 0 && keyIndex < kColorTableKeys; }

struct ColorTable {
    std::array<uint8_t, kColorTableBytes> bytes{};

    // Nothing for an index outside the table.
    void Set(int keyIndex, int color);
    // 0 for an index outside the table.
    int Get(int keyIndex) const;
};

// The colour a model whose live colours come at a third of the scale shows: each channel v
// becomes v x 3 below 86, else 255.
int ScaleThirdScaleColor(int color);
