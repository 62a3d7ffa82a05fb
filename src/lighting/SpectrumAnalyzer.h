// The analysis of the captured sound: a history of the newest 256 samples, and from it 256 band
// levels between 0 and 1 that fall by the decay when the sound stops and rise at once with it.
//
// Used by one thread at a time (the visualizer's render thread).
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "lighting/Fft256.h"
#include "lighting/SpectrumWindows.h"

struct SpectrumSettings {
    int window = WINDOW_HANN;  // SpectrumWindowKind
    int decayPercent = 80;
    int smoothing = 1;  // 0 block average, 1 moving average, other none
    int smoothingWidth = 8;
    float follow = 1.0f;
};

class SpectrumAnalyzer {
public:
    static constexpr int kBands = 256;
    static constexpr int kHistorySamples = 256;

    SpectrumAnalyzer();

    // Every band level times decayPercent / 100.
    void Decay(int decayPercent);
    // One captured packet of `frames` stereo frames: each group of 4 floats from its start, one
    // group per 4 frames, becomes one sample = the group's sum x 0.25 x 2 x gain (a group cut
    // by the packet's end sums what is there).
    void AddPacket(std::span<const float> samples, size_t frames, int gain);
    // The band levels from the history, then smoothed, and the display levels following them.
    void Analyze(const SpectrumSettings& settings);
    // Everything back to silence.
    void Clear();
    // The history back to silence; the levels then fall by the decay.
    void ClearHistory();

    const std::array<float, kBands>& Levels() const { return display_; }
    const std::array<float, kBands>& Spectrum() const { return spectrum_; }
    // Each sample twice, oldest first.
    const std::array<float, kFftPoints>& History() const { return history_; }

private:
    // Appends the first `count` entries of incoming_ to the history.
    void PushIncoming(size_t count);
    void Smooth(int mode, int width);

    std::array<float, kFftPoints> history_{};
    std::array<float, kBands> spectrum_{};
    std::array<float, kBands> display_{};
    std::array<float, kFftPoints> work_{};
    std::array<float, kHistorySamples> incoming_{};
    std::array<SpectrumTable, 3> windows_;
    SpectrumTable tilt_;
};
