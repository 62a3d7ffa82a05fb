// The visualizer on a capture that plays synthetic packets: devices, notifications, frames,
// parameters and its render thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>
#include <thread>
#include <vector>

#include "lighting/Visualizer.h"
#include "platform/audio/MemoryLoopbackCapture.h"
#include "support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using audio::DataFlow;
using audio::DeviceRole;
using testsupport::WaitUntil;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kRed = 0x0000FD;  // pattern 7 at full brightness

// A packet of 4 x 256 stereo frames whose groups of 4 floats carry a tone of `cycles` periods
// over the 256 samples of the history.
std::vector<float> TonePacket(double cycles, float amplitude)
{
    std::vector<float> packet(256 * 4 * audio::kCaptureChannels, 0.0f);
    for (int n = 0; n < 256; ++n) {
        const auto sample =
            amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * cycles * n / 256.0));
        std::fill_n(packet.begin() + 4 * n, 4, sample);
    }
    return packet;
}

// Lit rows of each column of the front image (rows 1..63).
std::vector<int> BarHeights(const Visualizer& visualizer, uint32_t foreground)
{
    std::vector<int> heights(kSpectrumColumns, 0);
    visualizer.ReadFrontImage([&](const SpectrumImage& image) {
        for (int column = 0; column < kSpectrumColumns; ++column) {
            for (int row = 1; row < kSpectrumRows; ++row) {
                heights[column] += image.At(row, column) == foreground ? 1 : 0;
            }
        }
    });
    return heights;
}

class VisualizerTest : public testing::Test {
protected:
    void Make(bool serverPresent = true)
    {
        auto owned = std::make_unique<audio::MemoryLoopbackCapture>(serverPresent);
        capture = owned.get();
        visualizer = std::make_unique<Visualizer>(std::move(owned));
    }

    audio::MemoryLoopbackCapture* capture = nullptr;
    std::unique_ptr<Visualizer> visualizer;
};

TEST_F(VisualizerTest, InitListsTheDefaultOutputAndOpensItsMonitor)
{
    Make();
    capture->SetDefaultRenderEndpoint("speakers");
    visualizer->Init();
    EXPECT_EQ(visualizer->DeviceNames(), std::vector<std::wstring>{L"Default Loopback Device"});
    EXPECT_EQ(capture->OpenEndpoint(), "speakers");
    EXPECT_EQ(visualizer->GetGain(), 270);
    EXPECT_EQ(visualizer->GetForegroundMode(), 17);
    EXPECT_EQ(visualizer->GetBackgroundMode(), 0);
    EXPECT_EQ(visualizer->GetBackgroundBrightness(), 100);
}

TEST_F(VisualizerTest, WithoutSoundServerFramesAreTheBackground)
{
    Make(false);
    visualizer->Init();
    EXPECT_TRUE(visualizer->DeviceNames().empty());
    EXPECT_EQ(capture->OpenEndpoint(), "");
    visualizer->SetBackgroundMode(11);
    visualizer->RenderFrame();
    visualizer->ReadFrontImage([](const SpectrumImage& image) {
        EXPECT_EQ(image.At(63, 0), 0xFD0000u);
        EXPECT_EQ(image.At(0, 128), 0xFD0000u);
    });
}

TEST_F(VisualizerTest, DefaultOutputChangeReopensOnlyForTheConsoleOutput)
{
    Make();
    visualizer->Init();
    const int opens = capture->OpenCount();
    capture->SetDefaultRenderEndpoint("headphones");
    capture->NotifyDefaultChanged(DataFlow::Capture, DeviceRole::Console, "microphone");
    capture->NotifyDefaultChanged(DataFlow::Render, DeviceRole::Communications, "headphones");
    EXPECT_EQ(capture->OpenCount(), opens);
    EXPECT_EQ(capture->OpenEndpoint(), "default-sink");
    capture->NotifyDefaultChanged(DataFlow::Render, DeviceRole::Console, "headphones");
    EXPECT_EQ(capture->OpenCount(), opens + 1);
    EXPECT_EQ(capture->OpenEndpoint(), "headphones");
    EXPECT_EQ(visualizer->DeviceNames().size(), 1u);
}

TEST_F(VisualizerTest, LostStreamIsDroppedUntilTheNextOpen)
{
    Make();
    visualizer->Init();
    capture->LoseStream();
    visualizer->ComputeSpectrum();
    EXPECT_EQ(capture->OpenEndpoint(), "");
    visualizer->OpenDevice();
    EXPECT_EQ(capture->OpenEndpoint(), "default-sink");
}

TEST_F(VisualizerTest, ToneShowsAsBarsOverTheBackgroundAndSilenceFadesThem)
{
    Make();
    visualizer->Init();
    visualizer->SetForegroundMode(7);
    visualizer->SetBackgroundMode(0);
    capture->Push(TonePacket(10, 0.1f));
    visualizer->RenderFrame();
    std::vector<int> heights = BarHeights(*visualizer, kRed);
    const auto peak = std::max_element(heights.begin(), heights.end()) - heights.begin();
    EXPECT_NEAR(peak, 40, 4);
    EXPECT_GT(heights[peak], 15);
    EXPECT_EQ(heights[200], 0);

    // Silence: the bars fall frame by frame until only the background is left.
    capture->Push(std::vector<float>(256 * 4 * audio::kCaptureChannels, 0.0f));
    int frames = 0;
    int tallest = heights[peak];
    while (tallest > 0 && frames < 40) {
        visualizer->RenderFrame();
        heights = BarHeights(*visualizer, kRed);
        const int now = *std::max_element(heights.begin(), heights.end());
        EXPECT_LE(now, tallest);
        tallest = now;
        ++frames;
    }
    EXPECT_EQ(tallest, 0);
    EXPECT_LE(frames, 25);
}

TEST_F(VisualizerTest, CaptureThatFallsQuietDoesNotFreezeTheLastSound)
{
    // A suspended output (or a lost stream) sends no packets at all, not silent ones.
    Make();
    visualizer->Init();
    visualizer->SetForegroundMode(7);
    capture->Push(TonePacket(10, 0.1f));
    visualizer->RenderFrame();
    ASSERT_GT(BarHeights(*visualizer, kRed)[40], 0);
    for (int frame = 0; frame < 30; ++frame) {
        visualizer->RenderFrame();
    }
    const std::vector<int> heights = BarHeights(*visualizer, kRed);
    EXPECT_EQ(*std::max_element(heights.begin(), heights.end()), 0);
}

TEST_F(VisualizerTest, HueAdvancesFiveDegreesPerFrameAndWraps)
{
    Make();
    visualizer->Init();
    visualizer->RenderFrame();
    EXPECT_FLOAT_EQ(visualizer->GetHue(), 5.0f);
    for (int frame = 1; frame < 72; ++frame) {
        visualizer->RenderFrame();
    }
    EXPECT_FLOAT_EQ(visualizer->GetHue(), 360.0f);
    visualizer->RenderFrame();
    EXPECT_FLOAT_EQ(visualizer->GetHue(), 5.0f);
}

TEST_F(VisualizerTest, ParametersTakeEffectWithTheNextFrame)
{
    Make();
    visualizer->Init();
    visualizer->SetBackgroundMode(7);
    visualizer->SetBackgroundBrightness(50);
    visualizer->RenderFrame();
    visualizer->ReadFrontImage(
        [](const SpectrumImage& image) { EXPECT_EQ(image.At(40, 40), 0x00007Eu); });
    visualizer->SetBackgroundBrightness(0);
    visualizer->RenderFrame();
    visualizer->ReadFrontImage([](const SpectrumImage& image) { EXPECT_EQ(image.At(40, 40), 0u); });
}

TEST_F(VisualizerTest, RenderThreadPacesFramesFollowsTheAnalysisFlagAndIsJoined)
{
    Make();
    visualizer->Init();
    visualizer->SetAnalysis(true);
    visualizer->Start();
    ASSERT_TRUE(WaitUntil([&] { return capture->Active(); }, 5s));
    ASSERT_TRUE(WaitUntil([&] { return visualizer->FrameCount() >= 3; }, 5s));
    visualizer->SetAnalysis(false);
    ASSERT_TRUE(WaitUntil([&] { return !capture->Active(); }, 5s));
    const uint64_t idle = visualizer->FrameCount();
    std::this_thread::sleep_for(50ms);  // no frame may come while idle
    EXPECT_EQ(visualizer->FrameCount(), idle);
    const auto start = Clock::now();
    visualizer->Stop();
    EXPECT_LT(Clock::now() - start, 400ms);  // the idle pause is cut short
}

TEST_F(VisualizerTest, ReopeningWhileTheRenderThreadReadsIsSafe)
{
    Make();
    visualizer->Init();
    visualizer->SetAnalysis(true);
    visualizer->Start();
    std::atomic<bool> done{false};
    std::thread feeder([&] {
        while (!done) {
            capture->Push(TonePacket(7, 0.03f));
            std::this_thread::sleep_for(1ms);
        }
    });
    const auto end = Clock::now() + 300ms;
    int changes = 0;
    while (Clock::now() < end) {
        capture->SetDefaultRenderEndpoint(changes % 2 == 0 ? "a" : "b");
        capture->NotifyDefaultChanged(DataFlow::Render, DeviceRole::Console, "");
        visualizer->OpenDevice();
        visualizer->ReadFrontImage([](const SpectrumImage& image) { (void)image.At(0, 0); });
        ++changes;
    }
    done = true;
    feeder.join();
    EXPECT_GT(visualizer->FrameCount(), 0u);
    visualizer.reset();  // joins the render thread while the capture is still open
}

}  // namespace
