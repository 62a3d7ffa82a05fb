// Hue (degrees, 0 or more), saturation and value (0..255) to a colour R | G << 8 | B << 16, in
// integer arithmetic.
#pragma once

#include <cstdint>

uint32_t HsvToRgb(int hue, int saturation, int value);
