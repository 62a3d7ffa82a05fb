// The visualizer on a real sound server: a private PulseAudio daemon with two null sinks, a tone
// played into each, the default sink switched under the running render thread, and the server
// killed under it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "lighting/Visualizer.h"
#include "platform/audio/PulseLoopbackCapture.h"
#include "support/PulseDaemon.h"
#include "support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using testsupport::WaitUntil;
using Clock = std::chrono::steady_clock;

// A tone of k periods per 256 analysed samples (the analysis takes one sample per two frames
// at 48 kHz) peaks in bin k, which the image shows from column 4k.
constexpr double kHertzPerBin = 48000.0 / 2 / 256;
constexpr int kFirstBin = 8;
constexpr int kSecondBin = 24;
constexpr uint32_t kRed = 0x0000FD;

// The column with the tallest bar of the front image, -1 when no bar shows.
int TallestBar(const Visualizer& visualizer)
{
    std::vector<int> heights(kSpectrumColumns, 0);
    visualizer.ReadFrontImage([&](const SpectrumImage& image) {
        for (int column = 0; column < kSpectrumColumns; ++column) {
            for (int row = 1; row < kSpectrumRows; ++row) {
                heights[column] += image.At(row, column) == kRed ? 1 : 0;
            }
        }
    });
    const auto tallest = std::max_element(heights.begin(), heights.end());
    return *tallest > 0 ? static_cast<int>(tallest - heights.begin()) : -1;
}

bool NearColumn(int column, int bin) { return column >= 4 * bin - 4 && column <= 4 * bin + 8; }

TEST(VisualizerPulseTest, ShowsTheToneFollowsTheDefaultSinkAndOutlivesTheServer)
{
    testsupport::PulseDaemon daemon;
    if (!daemon.Start({"first", "second"})) {
        GTEST_SKIP() << "no PulseAudio daemon: " << daemon.Error();
    }
    setenv("PULSE_SERVER", daemon.ServerAddress().c_str(), 1);
    ASSERT_TRUE(daemon.PlaySine("first", kFirstBin * kHertzPerBin, 0.1f, 30));
    ASSERT_TRUE(daemon.PlaySine("second", kSecondBin * kHertzPerBin, 0.1f, 30));

    auto owned = std::make_unique<audio::PulseLoopbackCapture>("tolvenic-test", 2000);
    audio::PulseLoopbackCapture* capture = owned.get();
    auto visualizer = std::make_unique<Visualizer>(std::move(owned));
    visualizer->Init();
    visualizer->SetForegroundMode(7);
    visualizer->SetAnalysis(true);
    visualizer->Start();

    ASSERT_TRUE(WaitUntil([&] { return capture->RunningSource() == "first.monitor"; }, 5s));
    EXPECT_TRUE(WaitUntil([&] { return NearColumn(TallestBar(*visualizer), kFirstBin); }, 5s))
        << "tallest bar at column " << TallestBar(*visualizer);

    ASSERT_TRUE(daemon.Pactl({"set-default-sink", "second"}));
    const auto switched = Clock::now();
    ASSERT_TRUE(WaitUntil([&] { return capture->RunningSource() == "second.monitor"; }, 5s));
    const auto followed = Clock::now() - switched;
    const auto followedMs = std::chrono::duration_cast<std::chrono::milliseconds>(followed);
    RecordProperty("default_sink_followed_ms", static_cast<int>(followedMs.count()));
    EXPECT_LT(followed, 500ms) << followedMs.count() << " ms";
    EXPECT_TRUE(WaitUntil([&] { return NearColumn(TallestBar(*visualizer), kSecondBin); }, 5s))
        << "tallest bar at column " << TallestBar(*visualizer);

    daemon.Kill();
    EXPECT_TRUE(WaitUntil([&] { return capture->RunningSource().empty(); }, 5s));
    // Frames go on (silent), and a profile load's reopen finds no server without hanging.
    const uint64_t frames = visualizer->FrameCount();
    EXPECT_TRUE(WaitUntil([&] { return visualizer->FrameCount() > frames + 3; }, 5s));
    const auto reopen = Clock::now();
    visualizer->OpenDevice();
    EXPECT_LT(Clock::now() - reopen, 3s);
    // Nothing arrives any more: the bars fall as in silence.
    EXPECT_TRUE(WaitUntil([&] { return TallestBar(*visualizer) < 0; }, 5s));
    const auto stop = Clock::now();
    visualizer.reset();
    EXPECT_LT(Clock::now() - stop, 1s);
    unsetenv("PULSE_SERVER");
}

}  // namespace
