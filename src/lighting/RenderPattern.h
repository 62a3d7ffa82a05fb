// Paints one of the music mode's patterns (codes 0..20) into a whole image; any other code leaves
// the image as it is.
#pragma once

#include "lighting/SpectrumImage.h"

inline constexpr int kPatternCount = 21;

void RenderPattern(int code, int brightness, float hue, SpectrumImage& image);
