// The load after a connection (QCMD_LOAD_FROM_DEVICE: every page read from the database and
// the keyboard, then the settings written) with 3, 10, 25 and 50 profiles stored, through the
// real queue and worker against the in-process virtual keyboard.
//
// Its floor is what the protocol makes the worker wait whatever the database holds: the fixed
// pauses the worker is asked for (the settings block's store, ...); the exchanges themselves
// (counted in `exchanges`) come on top. The load should stay near its floor however many
// profiles are stored: ratio_to_floor (the median of the runs) is the figure to read, the same
// at every count.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

#include "BenchMainWindow.h"
#include "app/KeyboardDlg.h"
#include "device/Pause.h"
#include "lighting/DefaultLightRows.h"
#include "storage/KBDataBase.h"
#include "storage/ProfileRecord.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;

bench::MainWindow& TheWindow()
{
    static bench::MainWindow window(L"BenchLoad");
    return window;
}

// Profiles as the profile page's "new" makes them, up to `count`.
void StoreProfiles(KeyboardDlg& dlg, int count)
{
    KBDataBase& db = KBDataBase::GetInstance();
    std::vector<ProfileRecord*> stored;
    int have = db.GetProfiles(stored);
    for (ProfileRecord* profile : stored) delete profile;
    for (; have < count; ++have) {
        ProfileRecord record;
        record.type = 1;
        record.name = L"Profile " + std::to_wstring(have + 1);
        const int id = db.InsertProfile(record);
        dlg.CreateDefaultKeyRows(id);
        dlg.CreateDefaultKeyPerfRows(id);
        CreateDefaultLightRows(db, id);
        db.InsertDefaultConfig(id);
    }
}

void LoadAfterConnect(benchmark::State& state)
{
    bench::MainWindow& window = TheWindow();
    if (!window.Ready()) {
        state.SkipWithError("the window did not load the keyboard");
        return;
    }
    KeyboardDlg& dlg = *window.dlg;
    StoreProfiles(dlg, static_cast<int>(state.range(0)));
    std::atomic<int64_t> pausedMs{0};
    dlg.worker.pause = [&pausedMs](int ms) {
        pausedMs += ms;
        PauseMs(ms);
    };
    std::vector<double> ratios;
    double floorMs = 0;
    size_t exchanges = 0;
    for (auto _ : state) {
        window.keyboard->ClearLog();
        pausedMs = 0;
        const auto start = Clock::now();
        dlg.QueueCommand(QCMD_LOAD_FROM_DEVICE);
        dlg.QueueCommand(QCMD_AFTER_LOAD);
        // The step after the load takes the last code.
        if (!bench::WaitUntil([&dlg] { return dlg.worker.queue.Empty(); })) {
            state.SkipWithError("the load never ended");
            return;
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        state.SetIterationTime(ms / 1000);
        floorMs = static_cast<double>(pausedMs.load());
        exchanges = window.keyboard->Requests().size();
        ratios.push_back(ms / floorMs);
        state.PauseTiming();
        bench::WaitUntil([&window] { return window.Idle(); });
        state.ResumeTiming();
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["profiles"] = static_cast<double>(state.range(0));
    state.counters["floor_ms"] = floorMs;
    state.counters["exchanges"] = static_cast<double>(exchanges);
    state.counters["ratio_to_floor"] = ratios.empty() ? 0 : ratios[ratios.size() / 2];
}
BENCHMARK(LoadAfterConnect)
    ->Arg(3)
    ->Arg(10)
    ->Arg(25)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(kRuns);

}  // namespace

BENCHMARK_MAIN();
