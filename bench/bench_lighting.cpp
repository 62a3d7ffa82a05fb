// The music mode's render thread: the CPU cost of one frame (goal under 1 ms), the period of the
// frames while the analysis runs (goal 15 to 17 ms: a 15 ms pause after each frame's work), and
// the wake-ups of every thread the visualizer adds while the analysis is off (goal at most 2 a
// second), measured on a private PulseAudio daemon when one can start.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "lighting/Visualizer.h"
#include "platform/audio/MemoryLoopbackCapture.h"
#include "platform/audio/PulseLoopbackCapture.h"
#include "support/PulseDaemon.h"

namespace {

using namespace std::chrono_literals;

// 10 ms of a 750 Hz tone at 48 kHz, stereo.
std::vector<float> TenMilliseconds()
{
    std::vector<float> packet(480 * audio::kCaptureChannels);
    for (size_t i = 0; i < packet.size(); ++i) {
        const double t = static_cast<double>(i / 2) / audio::kCaptureRate;
        packet[i] = static_cast<float>(0.3 * std::sin(2.0 * std::numbers::pi * 750.0 * t));
    }
    return packet;
}

// Context switches of every thread of this process but the calling one.
long OtherThreadSwitches()
{
    const std::string self = std::to_string(gettid());
    long total = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        if (task.path().filename() == self) {
            continue;
        }
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.find("ctxt_switches:") != std::string::npos) {
                total += std::stol(line.substr(line.find(':') + 1));
            }
        }
    }
    return total;
}

// One frame's work: analysis of 10 ms of sound, two patterns, the composition and the swap.
// Arguments: foreground and background pattern.
void RenderFrameCost(benchmark::State& state)
{
    auto owned = std::make_unique<audio::MemoryLoopbackCapture>();
    audio::MemoryLoopbackCapture* capture = owned.get();
    Visualizer visualizer(std::move(owned));
    visualizer.Init();
    visualizer.SetForegroundMode(static_cast<int>(state.range(0)));
    visualizer.SetBackgroundMode(static_cast<int>(state.range(1)));
    const std::vector<float> packet = TenMilliseconds();
    for (auto _ : state) {
        capture->Push(packet);
        visualizer.RenderFrame();
    }
}
// The default look, a gradient over a solid, and the costliest pair (two hue-by-angle patterns).
BENCHMARK(RenderFrameCost)
    ->Args({17, 0})
    ->Args({1, 7})
    ->Args({4, 19})
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();

// The render thread's frame period over two seconds.
void FramePeriod(benchmark::State& state)
{
    for (auto _ : state) {
        auto owned = std::make_unique<audio::MemoryLoopbackCapture>();
        Visualizer visualizer(std::move(owned));
        visualizer.Init();
        visualizer.SetAnalysis(true);
        visualizer.Start();
        std::this_thread::sleep_for(200ms);  // settled
        const uint64_t first = visualizer.FrameCount();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(2s);
        const uint64_t frames = visualizer.FrameCount() - first;
        const double elapsed =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        visualizer.Stop();
        state.counters["frame_period_ms"] = frames > 0 ? elapsed / static_cast<double>(frames) : 0;
    }
}
BENCHMARK(FramePeriod)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Wake-ups per second of the visualizer's threads (render thread, and on a real server the
// sound client's thread and the notification thread) while the analysis is off.
void IdleWakeups(benchmark::State& state)
{
    testsupport::PulseDaemon daemon;
    const bool server = daemon.Start({"bench"});
    if (server) {
        setenv("PULSE_SERVER", daemon.ServerAddress().c_str(), 1);
        daemon.PlaySine("bench", 750.0, 0.3f, 30);
    }
    for (auto _ : state) {
        Visualizer visualizer(std::make_unique<audio::PulseLoopbackCapture>("bench", 2000));
        visualizer.Init();
        visualizer.Start();
        std::this_thread::sleep_for(1s);  // settled: the capture paused
        const long before = OtherThreadSwitches();
        std::this_thread::sleep_for(5s);
        const long after = OtherThreadSwitches();
        visualizer.Stop();
        state.counters["wakeups_per_s"] = static_cast<double>(after - before) / 5.0;
        state.counters["sound_server"] = server ? 1 : 0;
    }
    unsetenv("PULSE_SERVER");
}
BENCHMARK(IdleWakeups)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
