// The analysis of synthetic sound: silence, tones, and packets of every shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "lighting/SpectrumAnalyzer.h"
#include "platform/audio/LoopbackCapture.h"

namespace {

constexpr int kGain = 270;

// A packet whose reader takes `samples` as they are: each sample fills one group of 4 floats
// (one group per 4 frames), the rest of the packet is silence.
std::vector<float> PacketOf(const std::vector<float>& samples)
{
    std::vector<float> packet(samples.size() * 4 * audio::kCaptureChannels, 0.0f);
    for (size_t i = 0; i < samples.size(); ++i) {
        std::fill_n(packet.begin() + static_cast<std::ptrdiff_t>(4 * i), 4, samples[i]);
    }
    return packet;
}

void AddSamples(SpectrumAnalyzer& analyzer, const std::vector<float>& samples)
{
    const std::vector<float> packet = PacketOf(samples);
    analyzer.AddPacket(packet, packet.size() / audio::kCaptureChannels, kGain);
}

// `cycles` periods over the 256 samples of the history.
std::vector<float> Tone(double cycles, float amplitude)
{
    std::vector<float> samples(SpectrumAnalyzer::kHistorySamples);
    for (size_t n = 0; n < samples.size(); ++n) {
        samples[n] = amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * cycles *
                                                             static_cast<double>(n) / 256.0));
    }
    return samples;
}

int LoudestBand(const SpectrumAnalyzer& analyzer)
{
    const auto& levels = analyzer.Levels();
    return static_cast<int>(std::max_element(levels.begin(), levels.end()) - levels.begin());
}

TEST(SpectrumAnalyzerTest, SamplesAreGroupAveragesScaledByTheGain)
{
    SpectrumAnalyzer analyzer;
    // Two groups of 4 frames: the floats 0..3 and 4..7 of the packet.
    const std::vector<float> packet{0.1f, 0.2f, 0.3f, 0.4f, -0.4f, -0.4f, -0.4f, -0.4f,
                                    9.0f, 9.0f, 9.0f, 9.0f, 9.0f,  9.0f,  9.0f,  9.0f};
    analyzer.AddPacket(packet, 8, 100);
    const auto& history = analyzer.History();
    EXPECT_FLOAT_EQ(history[508], 1.0f * 0.25f * 2.0f * 100.0f);
    EXPECT_FLOAT_EQ(history[509], history[508]);
    EXPECT_FLOAT_EQ(history[510], -1.6f * 0.25f * 2.0f * 100.0f);
    EXPECT_FLOAT_EQ(history[511], history[510]);
    EXPECT_FLOAT_EQ(history[507], 0.0f);
}

TEST(SpectrumAnalyzerTest, ShortPacketIsNotReadPastItsEnd)
{
    SpectrumAnalyzer analyzer;
    // One frame of a stereo packet: ceil(1 / 4) = 1 group, but only 2 floats are there. The
    // vector holds exactly those two, so reading further would be caught by the sanitizer.
    const std::vector<float> packet{0.5f, 0.25f};
    analyzer.AddPacket(packet, 1, 100);
    EXPECT_FLOAT_EQ(analyzer.History()[511], 0.75f * 0.25f * 2.0f * 100.0f);
    // Frames that claim more than the packet holds stop at its end too.
    analyzer.AddPacket(std::span<const float>(packet.data(), 1), 64, 100);
    EXPECT_FLOAT_EQ(analyzer.History()[511], 0.5f * 0.25f * 2.0f * 100.0f);
    EXPECT_FLOAT_EQ(analyzer.History()[509], 0.75f * 0.25f * 2.0f * 100.0f);
}

TEST(SpectrumAnalyzerTest, ToneInBinKPeaksNearColumn4K)
{
    struct ToneCase {
        int bin;
        float amplitude;
    };
    // Quieter where the tilt lifts the band more, so the peak stays below the cap of 1.
    for (const ToneCase tone : {ToneCase{3, 0.1f}, ToneCase{8, 0.1f}, ToneCase{16, 0.1f},
                                ToneCase{30, 0.1f}, ToneCase{50, 0.03f}}) {
        SpectrumAnalyzer analyzer;
        AddSamples(analyzer, Tone(tone.bin, tone.amplitude));
        analyzer.Analyze(SpectrumSettings{});
        const int peak = LoudestBand(analyzer);
        EXPECT_NEAR(peak, 4 * tone.bin, 4) << "bin " << tone.bin;
        EXPECT_GT(analyzer.Levels()[peak], 0.2f);
        EXPECT_LT(analyzer.Levels()[peak], 1.0f);
        EXPECT_LT(analyzer.Levels()[4 * tone.bin + 40], 0.01f);
    }
}

TEST(SpectrumAnalyzerTest, SilenceDecaysByFourFifthsPerFrame)
{
    SpectrumAnalyzer analyzer;
    SpectrumSettings unsmoothed;
    unsmoothed.smoothing = 2;
    AddSamples(analyzer, Tone(12, 0.05f));
    analyzer.Analyze(unsmoothed);
    AddSamples(analyzer, std::vector<float>(SpectrumAnalyzer::kHistorySamples, 0.0f));
    auto before = analyzer.Levels();
    ASSERT_GT(*std::max_element(before.begin(), before.end()), 0.1f);
    for (int frame = 0; frame < 5; ++frame) {
        analyzer.Decay(80);
        analyzer.Analyze(unsmoothed);
        const auto& after = analyzer.Levels();
        for (int band = 0; band < SpectrumAnalyzer::kBands; ++band) {
            ASSERT_FLOAT_EQ(after[band], before[band] * 0.8f) << "band " << band;
        }
        before = after;
    }
}

TEST(SpectrumAnalyzerTest, LoudToneIsCappedAtOneAndLevelsNeverGoNegative)
{
    SpectrumAnalyzer analyzer;
    AddSamples(analyzer, Tone(20, 1.0f));
    analyzer.Analyze(SpectrumSettings{});
    const auto& levels = analyzer.Levels();
    EXPECT_GT(*std::max_element(levels.begin(), levels.end()), 0.95f);
    EXPECT_LE(*std::max_element(levels.begin(), levels.end()), 1.0f);
    EXPECT_GE(*std::min_element(levels.begin(), levels.end()), 0.0f);
}

TEST(SpectrumAnalyzerTest, SmoothingAveragesBlocksOrNeighbours)
{
    // Block average: every block of 8 bands holds one value.
    SpectrumAnalyzer blocks;
    AddSamples(blocks, Tone(12, 0.05f));
    SpectrumSettings settings;
    settings.smoothing = 0;
    blocks.Analyze(settings);
    for (int band = 0; band < 248; ++band) {
        EXPECT_FLOAT_EQ(blocks.Levels()[band], blocks.Levels()[band / 8 * 8]) << band;
    }
    // Moving average: the tone's four equal bands become a hill over their neighbours.
    SpectrumAnalyzer moving;
    AddSamples(moving, Tone(12, 0.05f));
    moving.Analyze(SpectrumSettings{});
    const auto& levels = moving.Levels();
    EXPECT_GT(levels[42], 0.0f);
    EXPECT_LT(levels[42], levels[49]);
    EXPECT_LT(levels[56], levels[49]);
}

}  // namespace
