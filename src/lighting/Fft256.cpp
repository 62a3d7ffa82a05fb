#include "lighting/Fft256.h"

#include <cmath>
#include <numbers>
#include <utility>

void FftBitReverse(std::span<float> data, int points)
{
    const int n = points * 2;
    int j = 0;
    for (int i = 0; i < n; i += 2) {
        if (j > i) {
            std::swap(data[j], data[i]);
            std::swap(data[j + 1], data[i + 1]);
        }
        int m = points;
        while (m >= 2 && j >= m) {
            j -= m;
            m >>= 1;
        }
        j += m;
    }
}

void FftButterflies(std::span<float> data, int points)
{
    const int n = points * 2;
    for (int span = 2; span < n; span *= 2) {
        const int step = span * 2;
        const double theta = 2.0 * std::numbers::pi / span;
        // The twiddle advances by the sine recurrence: w <- w + w x (cos theta - 1, sin theta).
        const double half = std::sin(0.5 * theta);
        const double wpr = -2.0 * half * half;
        const double wpi = std::sin(theta);
        double wr = 1.0;
        double wi = 0.0;
        for (int m = 0; m < span; m += 2) {
            for (int i = m; i < n; i += step) {
                const int k = i + span;
                const float tr = static_cast<float>(wr * data[k] - wi * data[k + 1]);
                const float ti = static_cast<float>(wr * data[k + 1] + wi * data[k]);
                data[k] = data[i] - tr;
                data[k + 1] = data[i + 1] - ti;
                data[i] += tr;
                data[i + 1] += ti;
            }
            const double previous = wr;
            wr = wr * wpr - wi * wpi + wr;
            wi = wi * wpr + previous * wpi + wi;
        }
    }
}

void Fft256(std::span<float, kFftPoints> buffer)
{
    constexpr int kComplex = kFftPoints / 2;
    FftBitReverse(buffer, kComplex);
    FftButterflies(buffer, kComplex);
    for (float& value : buffer) {
        value /= kFftPoints;
    }
    // Split step: the spectrum of the real sequence from that of its even and odd halves.
    const double theta = std::numbers::pi / kComplex;
    const double half = std::sin(0.5 * theta);
    const double wpr = -2.0 * half * half;
    const double wpi = std::sin(theta);
    double wr = 1.0 + wpr;
    double wi = wpi;
    constexpr float c1 = 0.5f;
    constexpr float c2 = -0.5f;
    for (int i = 1; i < kFftPoints / 4; ++i) {
        const int i1 = 2 * i;
        const int i2 = i1 + 1;
        const int i3 = kFftPoints - i1;
        const int i4 = i3 + 1;
        const float h1r = c1 * (buffer[i1] + buffer[i3]);
        const float h1i = c1 * (buffer[i2] - buffer[i4]);
        const float h2r = -c2 * (buffer[i2] + buffer[i4]);
        const float h2i = c2 * (buffer[i1] - buffer[i3]);
        const auto fr = static_cast<float>(wr);
        const auto fi = static_cast<float>(wi);
        buffer[i1] = h1r + fr * h2r - fi * h2i;
        buffer[i2] = h1i + fr * h2i + fi * h2r;
        buffer[i3] = h1r - fr * h2r + fi * h2i;
        buffer[i4] = -h1i + fr * h2i + fi * h2r;
        const double previous = wr;
        wr = wr * wpr - wi * wpi + wr;
        wi = wi * wpr + previous * wpi + wi;
    }
    const float first = buffer[0];
    buffer[0] = first + buffer[1];
    buffer[1] = first - buffer[1];
}
