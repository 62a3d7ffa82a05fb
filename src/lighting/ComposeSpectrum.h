// The music mode's frame: the foreground shows as bars rising from the bottom under the band
// levels, over the background; row 0 is a meter of the bass growing from the centre outwards.
#pragma once

#include <array>

#include "lighting/SpectrumImage.h"

void ComposeSpectrum(const std::array<float, kSpectrumColumns>& levels,
                     const SpectrumImage& background, const SpectrumImage& foreground,
                     SpectrumImage& out);
