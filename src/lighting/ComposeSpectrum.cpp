#include "lighting/ComposeSpectrum.h"

namespace {

// The band the bass meter follows, and the level it must exceed to show at all.
constexpr int kBassBand = 5;
constexpr float kBassFloor = 0.05f;

}  // namespace

void ComposeSpectrum(const std::array<float, kSpectrumColumns>& levels,
                     const SpectrumImage& background, const SpectrumImage& foreground,
                     SpectrumImage& out)
{
    for (int column = 0; column < kSpectrumColumns; ++column) {
        const float level = levels[column];
        for (int row = 0; row < kSpectrumRows; ++row) {
            const bool lit = static_cast<float>(kSpectrumRows - row) / kSpectrumRows < level;
            out.At(row, column) = lit ? foreground.At(row, column) : background.At(row, column);
        }
    }
    const float bass = levels[kBassBand] - kBassFloor;
    for (int column = 0; column < kSpectrumColumns; ++column) {
        const bool lit = column >= 128 ? bass > static_cast<float>(column - 128) / 128.0f
                                       : static_cast<float>(127 - column) / 128.0f < bass;
        out.At(0, column) = lit ? foreground.At(0, column) : background.At(0, column);
    }
}
