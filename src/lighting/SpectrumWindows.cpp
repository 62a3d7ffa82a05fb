#include "lighting/SpectrumWindows.h"

#include <algorithm>
#include <cmath>
#include <numbers>

SpectrumTable MakeWindowTable(int kind)
{
    SpectrumTable table;
    for (int i = 0; i < 256; ++i) {
        const double x = 2.0 * std::numbers::pi * i / 256.0;
        double value = 1.0;
        switch (kind) {
            case WINDOW_HANN:
                value = (1.0 - std::cos(x)) * 0.5;
                break;
            case WINDOW_HAMMING:
                value = 0.54 - 0.46 * std::cos(x);
                break;
            case WINDOW_BLACKMAN:
                value = 0.42 - 0.5 * std::cos(x) + 0.08 * std::cos(2.0 * x);
                break;
            default:
                break;
        }
        table[i] = static_cast<float>(value);
    }
    return table;
}

SpectrumTable MakeTiltTable()
{
    SpectrumTable table;
    for (int k = 0; k < 256; ++k) {
        table[k] = static_cast<float>(k) / 256.0f * 0.5f + 0.04f;
    }
    return table;
}

void ApplyWindow(std::span<float> buffer, const SpectrumTable& table)
{
    const size_t count = std::min(buffer.size(), table.size());
    for (size_t i = 0; i < count; ++i) {
        buffer[i] *= table[i];
    }
}
