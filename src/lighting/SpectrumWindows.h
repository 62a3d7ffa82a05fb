// The weighting tables of the spectrum: the analysis windows over the sample history and the
// tilt that lifts the higher bands.
#pragma once

#include <array>
#include <span>

using SpectrumTable = std::array<float, 256>;

enum SpectrumWindowKind {
    WINDOW_NONE = 0,
    WINDOW_HANN = 1,
    WINDOW_HAMMING = 2,
    WINDOW_BLACKMAN = 3
};

// The table of a window kind (x = 2 pi i / 256); all ones for WINDOW_NONE and unknown kinds.
SpectrumTable MakeWindowTable(int kind);
// Entry k = k / 256 x 0.5 + 0.04.
SpectrumTable MakeTiltTable();
// Multiplies the first 256 floats of `buffer` by the table, element by element.
void ApplyWindow(std::span<float> buffer, const SpectrumTable& table);
