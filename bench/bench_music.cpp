// The music mode's latency from sound to keys: a private PulseAudio daemon, the main window in
// the music mode against the in-process virtual keyboard, and a stream of the bench's own that
// plays silence and then, at a chosen moment, a tone. Each round times from the tone's onset to
// the moment the keyboard first holds live colours that are not dark (goal under 60 ms); 20
// rounds with silence between, the keys dark again before each tone.
//
// Two onsets are noted for each tone: when its first sample is handed to the sound server (the
// stream is kept up to 10 ms ahead of playback, so this is early by up to that), and when that
// sample is due at the sink (the hand-over time plus the stream's latency the server reports
// just before it). The keys are watched by a thread of their own that samples the keyboard's
// memory every 200 us.
#include <benchmark/benchmark.h>

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <thread>
#include <vector>

#include "BenchMainWindow.h"
#include "lighting/Visualizer.h"
#include "platform/mui/MListBoxEx.h"
#include "support/PulseDaemon.h"

namespace {

using namespace std::chrono_literals;
using bench::Clock;

constexpr int kRate = 48000;
constexpr int kChunk = kRate / 1000;  // 1 ms of mono samples per write
constexpr int kRounds = 20;
constexpr int kToneChunks = 300;

// Plays silence on `sink` until a tone is asked for, then the tone, then silence again; notes
// when the tone's first sample was written and when it is due at the sink.
class TonePlayer {
public:
    TonePlayer() = default;
    bool Open(const char* sink)
    {
        pa_sample_spec format{PA_SAMPLE_FLOAT32LE, kRate, 1};
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<uint32_t>(-1);
        attr.tlength = static_cast<uint32_t>(10 * kChunk * sizeof(float));
        attr.prebuf = static_cast<uint32_t>(-1);
        attr.minreq = static_cast<uint32_t>(kChunk * sizeof(float));
        attr.fragsize = static_cast<uint32_t>(-1);
        int error = 0;
        stream_ = pa_simple_new(nullptr, "bench", PA_STREAM_PLAYBACK, sink, "tone", &format,
                                nullptr, &attr, &error);
        if (stream_ == nullptr) return false;
        thread_ = std::thread([this] { Run(); });
        return true;
    }
    ~TonePlayer()
    {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (stream_ != nullptr) pa_simple_free(stream_);
    }
    TonePlayer(const TonePlayer&) = delete;
    TonePlayer& operator=(const TonePlayer&) = delete;

    void StartTone()
    {
        written_ = 0;
        toneWanted_ = true;
    }
    bool Started() const { return written_ != 0; }
    bool Playing() const { return toneWanted_ || toneLeft_ > 0; }
    Clock::time_point Written() const { return Clock::time_point(Clock::duration(written_)); }
    Clock::time_point Due() const { return Clock::time_point(Clock::duration(due_)); }

private:
    void Run()
    {
        std::vector<float> chunk(kChunk);
        int error = 0;
        long sample = 0;
        while (!stop_) {
            if (toneLeft_ == 0 && toneWanted_) {
                const pa_usec_t ahead = pa_simple_get_latency(stream_, &error);
                const auto now = Clock::now();
                written_ = now.time_since_epoch().count();
                due_ = (now + std::chrono::microseconds(ahead)).time_since_epoch().count();
                toneLeft_ = kToneChunks;
                toneWanted_ = false;
                sample = 0;
            }
            if (toneLeft_ > 0) {
                for (float& s : chunk) {
                    s = 0.3f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 1000.0 *
                                                           static_cast<double>(sample++) / kRate));
                }
                --toneLeft_;
            } else {
                std::fill(chunk.begin(), chunk.end(), 0.0f);
            }
            if (pa_simple_write(stream_, chunk.data(), chunk.size() * sizeof(float), &error) < 0) {
                return;
            }
        }
    }

    pa_simple* stream_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> toneWanted_{false};
    std::atomic<int> toneLeft_{0};
    std::atomic<Clock::rep> written_{0};
    std::atomic<Clock::rep> due_{0};
};

bool AllDark(const std::vector<uint8_t>& colors)
{
    return std::all_of(colors.begin(), colors.end(), [](uint8_t b) { return b <= 1; });
}

// Samples the keyboard's live colours; notes when they first turn from dark to lit.
class KeysWatch {
public:
    explicit KeysWatch(const vkb::VirtualKeyboard& keyboard) : keyboard_(keyboard)
    {
        thread_ = std::thread([this] {
            while (!stop_) {
                const bool dark = AllDark(keyboard_.Memory().liveColors);
                if (!dark && armed_) {
                    lit_ = Clock::now().time_since_epoch().count();
                    armed_ = false;
                }
                dark_ = dark;
                std::this_thread::sleep_for(200us);
            }
        });
    }
    ~KeysWatch()
    {
        stop_ = true;
        thread_.join();
    }
    KeysWatch(const KeysWatch&) = delete;
    KeysWatch& operator=(const KeysWatch&) = delete;

    void Arm()
    {
        lit_ = 0;
        armed_ = true;
    }
    bool Dark() const { return dark_; }
    bool Lit() const { return lit_ != 0; }
    Clock::time_point LitAt() const { return Clock::time_point(Clock::duration(lit_)); }

private:
    const vkb::VirtualKeyboard& keyboard_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> armed_{false};
    std::atomic<bool> dark_{false};  // until the first sample
    std::atomic<Clock::rep> lit_{0};
};

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

bool Pause(Clock::duration length)
{
    const auto end = Clock::now() + length;
    return bench::WaitUntil([&] { return Clock::now() >= end; });
}

void SoundToKeys(benchmark::State& state)
{
    testsupport::PulseDaemon daemon;
    if (!daemon.Start({"speakers"})) {
        state.SkipWithError(("no PulseAudio daemon: " + daemon.Error()).c_str());
        return;
    }
    setenv("PULSE_SERVER", daemon.ServerAddress().c_str(), 1);
    for (auto _ : state) {
        bench::MainWindow window(L"QX71");
        TonePlayer player;
        if (!window.Ready() || !player.Open("speakers")) {
            state.SkipWithError("the window or the tone stream did not open");
            break;
        }
        window.dlg->lightPage.modeList->SelectData(128);
        window.dlg->OnMessage(151, MUI::kNotifyClick, 0);
        if (!bench::WaitUntil([&] { return window.dlg->visualizer->GetAnalysis(); })) {
            state.SkipWithError("the music mode did not start");
            break;
        }
        KeysWatch keys(*window.keyboard);
        std::vector<double> fromWritten;
        std::vector<double> fromDue;
        // Round -1 is a warm-up: the keys hold their stored colours until the first sound, and
        // one dark picture follows it.
        for (int round = -1; round < kRounds; ++round) {
            // Silence first: the keys dark, then half a second more.
            if (!bench::WaitUntil(
                    [&] { return !player.Playing() && (round < 0 || keys.Dark()); }) ||
                !Pause(500ms)) {
                state.SkipWithError("the keys did not go dark after the tone");
                break;
            }
            keys.Arm();
            player.StartTone();
            if (!bench::WaitUntil([&] { return keys.Lit() && player.Started(); })) {
                state.SkipWithError("the keys never showed the tone");
                break;
            }
            if (round < 0) continue;
            if (keys.LitAt() < player.Written()) {
                state.SkipWithError("the keys lit before the tone");
                break;
            }
            fromWritten.push_back(Milliseconds(keys.LitAt() - player.Written()));
            fromDue.push_back(Milliseconds(keys.LitAt() - player.Due()));
        }
        if (fromWritten.size() != kRounds) break;
        state.counters["written_median_ms"] = Percentile(fromWritten, 0.5);
        state.counters["written_p99_ms"] = Percentile(fromWritten, 0.99);
        state.counters["written_max_ms"] =
            *std::max_element(fromWritten.begin(), fromWritten.end());
        state.counters["due_median_ms"] = Percentile(fromDue, 0.5);
        state.counters["due_p99_ms"] = Percentile(fromDue, 0.99);
        state.counters["due_min_ms"] = *std::min_element(fromDue.begin(), fromDue.end());
        state.counters["due_max_ms"] = *std::max_element(fromDue.begin(), fromDue.end());
    }
    unsetenv("PULSE_SERVER");
}
BENCHMARK(SoundToKeys)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
