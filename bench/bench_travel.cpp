// The main window with its worker thread against the in-process virtual keyboard, the
// performance page shown:
// - from a live-travel report leaving the keyboard to the page's key view holding the new
//   value: the worker polls every 10 ms with a 10 ms read, so a report waits at most for the
//   rest of a step. 1,000 reports, each sent at a random point of the worker's step; the median
//   and the 99th percentile are the figures to read.
// - the processor time of the whole program while the worker polls at 100 Hz and no report
//   comes, in per cent of one core over 5 s.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "BenchMainWindow.h"
#include "app/KeyboardDlg.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MTabCtrl.h"
#include "virtual-keyboard/KeyboardMemory.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace {

using namespace std::chrono_literals;
using bench::Clock;

constexpr int kReports = 1000;
constexpr int kKeyA = 0x04;

using bench::Pump;

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The window shown with its performance page, and the key index of A.
struct Window : bench::MainWindow {
    Window() : bench::MainWindow(L"BenchTravel")
    {
        for (size_t i = 0; i < vkb::kKeyCount; ++i) {
            if (vkb::DefaultKeyUsage(i) == kKeyA) keyIndex = i;
        }
        if (!MainWindow::Ready()) return;
        dlg->ShowWindow(SW_SHOW);
        dlg->OnPageChanged(dlg->ui.tabCtrl->FindItem(PAGE_PERFORMANCE));
        // The page's settings write ends first: an exchange passes over travel reports.
        shown = bench::WaitUntil([this] { return Idle(); });
    }
    bool Ready() const { return shown; }

    size_t keyIndex = 0;
    bool shown = false;
};

Window& TheWindow()
{
    static Window window;
    return window;
}

void TravelReportToKeyView(benchmark::State& state)
{
    Window& window = TheWindow();
    if (!window.Ready()) {
        state.SkipWithError("the window did not load the keyboard");
        return;
    }
    MUI::KeyboardCtrl& view = *window.dlg->perfPage.keyboard;
    std::vector<double> latencies;
    int sent = 0;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> phase(0, 15000);
    for (auto _ : state) {
        // Half way and a quarter down in turn (full scale 0x0205: 512 steps).
        const bool half = sent++ % 2 == 0;
        vkb::TravelReport report;
        report.keyIndex = window.keyIndex;
        report.reading = half ? 0x0100 : 0x0080;
        report.fullScale = 0x0205;
        const int expected = half ? 20 : 10;
        const auto start = Clock::now();
        window.keyboard->SendTravel(report);
        while (view.GetKeyTravel(kKeyA) != expected) {
            if (Clock::now() - start > bench::kTimeout) {
                state.SkipWithError("the view never showed the travel");
                return;
            }
            Pump();
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        latencies.push_back(seconds * 1000);
        state.SetIterationTime(seconds);
        state.PauseTiming();
        // The next report comes at any point of the worker's 10 ms step, as key presses do.
        const auto next = Clock::now() + std::chrono::microseconds(phase(random));
        while (Clock::now() < next) Pump();
        state.ResumeTiming();
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double fraction) {
        return latencies[std::min(
            latencies.size() - 1,
            static_cast<size_t>(fraction * static_cast<double>(latencies.size())))];
    };
    state.counters["median_ms"] = at(0.5);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = latencies.back();
}
BENCHMARK(TravelReportToKeyView)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(kReports);

void IdlePollingCpu(benchmark::State& state)
{
    Window& window = TheWindow();
    if (!window.Ready()) {
        state.SkipWithError("the window did not load the keyboard");
        return;
    }
    for (auto _ : state) {
        const uint64_t steps = window.dlg->worker.steps.load();
        const double cpu = ProcessCpuSeconds();
        const auto start = Clock::now();
        // The UI thread waits in its event loop, as the program's does.
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["cpu_percent_of_one_core"] = 100 * (ProcessCpuSeconds() - cpu) / wall;
        state.counters["polls_per_second"] =
            static_cast<double>(window.dlg->worker.steps.load() - steps) / wall;
    }
}
BENCHMARK(IdlePollingCpu)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
