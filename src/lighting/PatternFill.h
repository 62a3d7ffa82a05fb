// The painters of the music mode's patterns. `brightness` is a percentage; it scales every
// channel as channel x int(brightness x 2.55) / 256, kept to 8 bits, and is the value of the
// hue-based patterns. `hue` is the rotating hue in degrees, 0 or more.
#pragma once

#include <cstdint>
#include <span>

#include "lighting/SpectrumImage.h"

// int(brightness x 2.55): the 8-bit level of a percentage.
int BrightnessLevel(int brightness);
uint32_t ScaleColor(uint32_t color, int brightness);

void FillSolid(SpectrumImage& image, uint32_t color, int brightness);
// Rows 1..63 from the last colour (row 1) to the first (row 63); row 0 from the first colour at
// the centre to the last at both edges.
void FillGradient(SpectrumImage& image, std::span<const uint32_t> colors, int brightness);
// Hue by the angle around column 128 and row `centerRow`.
void FillHueAngle(SpectrumImage& image, int centerRow, float hue, int brightness);
void FillHueColumns(SpectrumImage& image, float hue, int brightness);
void FillSineRainbow(SpectrumImage& image, float hue, int brightness);
// The sine rainbow's colour of column 1, everywhere.
void FillSineColour(SpectrumImage& image, float hue, int brightness);
