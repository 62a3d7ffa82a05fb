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
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include <unistd.h>

#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "app/RegistrySettings.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MTabCtrl.h"
#include "platform/mui/Manager.h"
#include "platform/mui/UiThread.h"
#include "platform/os/Registry.h"
#include "platform/text/Utf8.h"
#include "virtual-keyboard/KeyboardMemory.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kReports = 1000;
constexpr int kKeyA = 0x04;
constexpr auto kTimeout = 20s;

void Pump() { QCoreApplication::processEvents(QEventLoop::AllEvents, 1); }

template <class Condition>
bool WaitUntil(Condition condition)
{
    const auto end = Clock::now() + kTimeout;
    while (!condition()) {
        if (Clock::now() > end) return false;
        Pump();
    }
    return true;
}

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

class Window {
public:
    Window()
    {
        folder_ =
            std::filesystem::temp_directory_path() / ("bench-travel-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_ / "runtime");
        std::filesystem::permissions(folder_ / "runtime", std::filesystem::perms::owner_all);
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
            setenv(name, (folder_ / "runtime").c_str(), 1);
        }
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        MUI::EnsureApplication();
        MUI::Manager::SetDeviceName(L"BenchTravel");
        os::RegCreateKey(DeviceRegistryKey());
        SetModuleFolder(text::Utf8ToWide(std::string(TV_SOURCE_DIR) + "/data/"));
        CreateDirectoryTree(GetDataFolder() + L"db");
        hid::SetBackend(&backend_);
        backend_.Plug(keyboard);

        dlg = std::make_unique<KeyboardDlg>();
        dlg->Create(nullptr, L"BenchTravel", WS_POPUP, 0, RECT{0, 0, 1600, 970});
        dlg->ShowWindow(SW_SHOW);
        ready_ = WaitUntil([this] {
            return dlg->keyPage.profileCombo->GetItemCount() == 3 && dlg->worker.queue.Empty() &&
                   dlg->ui.tabCtrl->IsVisible();
        });
        if (ready_) {
            dlg->OnPageChanged(dlg->ui.tabCtrl->FindItem(PAGE_PERFORMANCE));
            // The page's settings write ends first: an exchange passes over travel reports.
            ready_ = WaitUntil([this] { return Idle(); });
        }
        for (size_t i = 0; i < vkb::kKeyCount; ++i) {
            if (vkb::DefaultKeyUsage(i) == kKeyA) keyIndex = i;
        }
    }
    ~Window()
    {
        dlg.reset();
        backend_.Unplug(keyboard);
        hid::SetBackend(nullptr);
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }

    bool Ready() const { return ready_; }

    // The worker has no command left and has taken idle steps since the last one ended.
    bool Idle()
    {
        if (!dlg->worker.queue.Empty()) return false;
        const uint64_t steps = dlg->worker.steps.load();
        const auto end = Clock::now() + 50ms;
        while (Clock::now() < end) {
            if (dlg->worker.steps.load() > steps + 1) return dlg->worker.queue.Empty();
            Pump();
        }
        return false;
    }

    std::unique_ptr<KeyboardDlg> dlg;
    std::shared_ptr<vkb::VirtualKeyboard> keyboard = std::make_shared<vkb::VirtualKeyboard>();
    size_t keyIndex = 0;

private:
    std::filesystem::path folder_;
    vkb::VirtualHidBackend backend_;
    bool ready_ = false;
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
            if (Clock::now() - start > kTimeout) {
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
