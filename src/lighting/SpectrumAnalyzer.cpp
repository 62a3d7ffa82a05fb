#include "lighting/SpectrumAnalyzer.h"

#include <algorithm>
#include <cmath>

namespace {

// Only the lowest 64 bins are shown; each fills four bands.
constexpr int kShownBins = 64;
constexpr int kBandsPerBin = 4;
constexpr size_t kGroupFloats = 4;

float Mean(const float* first, int count)
{
    float sum = 0.0f;
    for (int i = 0; i < count; ++i) {
        sum += first[i];
    }
    return sum / static_cast<float>(count);
}

}  // namespace

SpectrumAnalyzer::SpectrumAnalyzer()
    : windows_{MakeWindowTable(WINDOW_HANN), MakeWindowTable(WINDOW_HAMMING),
               MakeWindowTable(WINDOW_BLACKMAN)},
      tilt_(MakeTiltTable())
{
}

void SpectrumAnalyzer::Decay(int decayPercent)
{
    const float factor = static_cast<float>(decayPercent) / 100.0f;
    for (float& level : spectrum_) {
        level *= factor;
    }
}

void SpectrumAnalyzer::AddPacket(std::span<const float> samples, size_t frames, int gain)
{
    const size_t groups = (frames + 3) / 4;
    const float scale = 0.25f * 2.0f * static_cast<float>(gain);
    size_t count = 0;
    for (size_t group = 0; group < groups; ++group) {
        const size_t start = group * kGroupFloats;
        if (start >= samples.size()) {
            break;  // the packet ends here
        }
        const size_t end = std::min(samples.size(), start + kGroupFloats);
        float sum = 0.0f;
        for (size_t i = start; i < end; ++i) {
            sum += samples[i];
        }
        incoming_[count++] = sum * scale;
        if (count == incoming_.size()) {
            PushIncoming(count);
            count = 0;
        }
    }
    PushIncoming(count);
}

void SpectrumAnalyzer::PushIncoming(size_t count)
{
    // The history moves towards its old end by the new samples, each stored twice.
    const size_t shift = count * 2;
    std::copy(history_.begin() + static_cast<std::ptrdiff_t>(shift), history_.end(),
              history_.begin());
    float* newest = history_.data() + (history_.size() - shift);
    for (size_t i = 0; i < count; ++i) {
        newest[2 * i] = incoming_[i];
        newest[2 * i + 1] = incoming_[i];
    }
}

void SpectrumAnalyzer::Analyze(const SpectrumSettings& settings)
{
    work_ = history_;
    if (settings.window >= WINDOW_HANN && settings.window <= WINDOW_BLACKMAN) {
        ApplyWindow(work_, windows_[settings.window - 1]);
    }
    Fft256(work_);
    work_[0] = work_[2];
    ApplyWindow(work_, tilt_);
    for (int bin = 0; bin < kShownBins; ++bin) {
        const float re = work_[2 * bin];
        const float im = work_[2 * bin + 1];
        const float magnitude = std::sqrt(re * re + im * im);
        const float value = std::min(std::log10(magnitude * 1.1f) * 0.5f + magnitude * 0.9f, 1.0f);
        float& band = spectrum_[bin * kBandsPerBin];
        band = std::max(std::max(band, value), 0.0f);
        std::fill_n(&band + 1, kBandsPerBin - 1, band);
    }
    Smooth(settings.smoothing, settings.smoothingWidth);
    for (int k = 0; k < kBands; ++k) {
        display_[k] += (spectrum_[k] - display_[k]) * settings.follow;
    }
}

void SpectrumAnalyzer::Clear()
{
    history_.fill(0.0f);
    spectrum_.fill(0.0f);
    display_.fill(0.0f);
}

void SpectrumAnalyzer::ClearHistory() { history_.fill(0.0f); }

void SpectrumAnalyzer::Smooth(int mode, int width)
{
    const int n = width;
    if (n < 1 || 2 * n + 1 > kBands || (mode != 0 && mode != 1)) {
        return;
    }
    float* level = spectrum_.data();
    if (mode == 0) {
        std::fill_n(level, n, Mean(level, n));
        std::fill_n(level + kBands - n, n, Mean(level + kBands - n, n));
        for (int start = 0; start < kBands - n; start += n) {
            std::fill_n(level + start, n, Mean(level + start, n));
        }
        return;
    }
    for (int i = 0; i < n; ++i) {
        level[i] = Mean(level, i + n + 1);
        const int last = kBands - 1 - i;
        level[last] = Mean(level + last - n, kBands - (last - n));
    }
    for (int i = n; i <= kBands - 1 - n; ++i) {
        level[i] = Mean(level + i - n, 2 * n + 1);
    }
}
