// The main window with its worker thread against the in-process virtual keyboard, on a fresh
// data folder (so the first connection creates the three profiles):
// - from a palette click (the tile's notification) to the keyboard holding the changed layer,
//   through the real queue and worker. The layer has no advanced key, so one key-table batch
//   goes out: 12 writes with the protocol's fixed 2 ms pauses before and after each, a floor
//   of 12 x 4 ms = 48 ms; the worker's 10 ms period adds 0..10 ms of waiting for its next step.
// - a whole profile applied (QCMD_APPLY_PROFILE, the two profiles taking turns) until the
//   keyboard holds its last layer: 8 key-table batches, a floor of 8 x 48 ms = 384 ms.
// - from the travel gauge's release on the performance page (every key marked) to the keyboard
//   holding the new performance table, through the real queue and worker: 19 chunks with the
//   fixed 2 ms pauses before and after each and the batch's own, a floor of 84 ms.
// Each is run 20 times; the median is the figure to read.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include <unistd.h>

#include "BenchMainWindow.h"
#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "app/RegistrySettings.h"
#include "keys/KeyPalette.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/Manager.h"
#include "platform/mui/UiThread.h"
#include "platform/os/Registry.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"
#include "virtual-keyboard/KeyboardMemory.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 20;
constexpr int kKeyA = 0x04;
constexpr int kKeyFn1 = 0x3A;  // F1: its layer-7 entry tells the two profiles apart
constexpr int kLastLayer = 7;
constexpr double kClickFloorMs = 12 * 4;
constexpr double kProfileFloorMs = 8 * kClickFloorMs;
constexpr double kPerfFloorMs = 84;
constexpr auto kTimeout = 20s;

size_t KeyIndex(int usage)
{
    for (size_t i = 0; i < vkb::kKeyCount; ++i) {
        if (vkb::DefaultKeyUsage(i) == usage) return i;
    }
    return 0;
}

using bench::Pump;
using bench::WaitUntil;

// The keyboard holds the entry and has ended the batches counted so far: the layer (or the
// profile) arrived whole.
bool Holds(const vkb::VirtualKeyboard& keyboard, size_t layer, size_t index,
           const std::array<uint8_t, 3>& entry, int batchesEnded)
{
    return keyboard.BatchesEnded() >= batchesEnded && keyboard.KeyEntry(layer, index) == entry;
}

using Window = bench::MainWindow;

Window& TheWindow()
{
    static Window window(L"BenchProfiles");
    return window;
}

void PaletteClickToKeyboard(benchmark::State& state)
{
    Window& window = TheWindow();
    if (!window.Ready()) {
        state.SkipWithError("the window did not load the keyboard");
        return;
    }
    KeyboardDlg& dlg = *window.dlg;
    dlg.keyPage.typeTab->SetCurTab(PALETTE_MEDIA);
    dlg.OnMessage(97, MUI::kNotifyClick, PALETTE_MEDIA);
    dlg.keyPage.keyboard->SetCurrentKeyValue(kKeyA);
    const size_t index = KeyIndex(kKeyA);
    double handlerSeconds = 0;
    for (auto _ : state) {
        // The other of two media keys than the one the keyboard holds.
        const int tile = window.keyboard->KeyEntry(0, index)[1] == 0xE9 ? 0xEA : 0xE9;
        dlg.keyPage.keyValues->SetSelectKeyValue(tile);
        const std::array<uint8_t, 3> entry{0x30, static_cast<uint8_t>(tile), 0x00};
        // One batch: the layer has no advanced key.
        const int batches = window.keyboard->BatchesEnded() + 1;
        const auto start = Clock::now();
        dlg.OnMessage(99, MUI::kNotifyClick, tile);
        handlerSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        while (!Holds(*window.keyboard, 0, index, entry, batches)) {
            if (Clock::now() - start > kTimeout) {
                state.SkipWithError("the keyboard never held the layer");
                return;
            }
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.PauseTiming();
        WaitUntil([&window] { return window.Idle(); });
        state.ResumeTiming();
    }
    state.counters["floor_ms"] = kClickFloorMs;
    // The part spent in the UI thread's handler (database row, key cap, queue).
    state.counters["handler_ms"] = 1000 * handlerSeconds / static_cast<double>(state.iterations());
}
BENCHMARK(PaletteClickToKeyboard)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRuns)
    ->ReportAggregatesOnly(true);

void ApplyWholeProfile(benchmark::State& state)
{
    Window& window = TheWindow();
    if (!window.Ready()) {
        state.SkipWithError("the window did not load the keyboard");
        return;
    }
    KeyboardDlg& dlg = *window.dlg;
    KBDataBase& db = KBDataBase::GetInstance();
    // Profile 2's last layer holds a media key on F1, profile 1's the default function.
    KeyMacroRecord row;
    db.GetKeyMacro(2, kLastLayer, kKeyFn1, row);
    row.macro_type = 6;  // consumer usage
    row.macro_value = 0xE2;
    db.UpdateKeyMacro(row);
    const size_t index = KeyIndex(kKeyFn1);
    for (auto _ : state) {
        const int profile = db.GetActiveProfile() == 1 ? 2 : 1;
        const std::array<uint8_t, 3> entry = profile == 2
                                                 ? std::array<uint8_t, 3>{0x30, 0xE2, 0x00}
                                                 : std::array<uint8_t, 3>{0xF0, 0x01, 0x00};
        for (MUI::MComboBox* combo : dlg.ProfileCombos()) combo->SelectData(profile);
        db.SetActiveProfile(profile);
        dlg.page.currentProfile = profile;
        // The macro memory's batch, then one batch per layer (the profiles have no advanced
        // key); the colours, lighting and performance follow the last layer.
        const int batches = window.keyboard->BatchesEnded() + 1 + kLastLayer + 1;
        const auto start = Clock::now();
        dlg.QueueCommand(QCMD_APPLY_PROFILE);
        while (!Holds(*window.keyboard, kLastLayer, index, entry, batches)) {
            if (Clock::now() - start > kTimeout) {
                state.SkipWithError("the keyboard never held the profile");
                return;
            }
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.PauseTiming();
        WaitUntil([&window] { return window.Idle(); });
        state.ResumeTiming();
    }
    state.counters["floor_ms"] = kProfileFloorMs;
}
BENCHMARK(ApplyWholeProfile)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRuns)
    ->ReportAggregatesOnly(true);

void GaugeReleaseToKeyboard(benchmark::State& state)
{
    Window& window = TheWindow();
    if (!window.Ready()) {
        state.SkipWithError("the window did not load the keyboard");
        return;
    }
    KeyboardDlg& dlg = *window.dlg;
    dlg.OnMessage(327, MUI::kNotifyClick, 0);  // select all
    const size_t index = KeyIndex(kKeyA);
    for (auto _ : state) {
        // The keyboard keeps the actuation less one; alternate between two points.
        const int actuation = window.keyboard->KeyPerf(0, index)[2] == 99 ? 120 : 100;
        dlg.perfPage.stroke->SetCurKeyActuation(actuation);
        const int batches = window.keyboard->BatchesEnded() + 1;
        const auto start = Clock::now();
        dlg.OnMessage(289, MUI::kNotifyClick, actuation);
        while (window.keyboard->BatchesEnded() < batches ||
               window.keyboard->KeyPerf(0, index)[2] != actuation - 1) {
            if (Clock::now() - start > kTimeout) {
                state.SkipWithError("the keyboard never held the performance table");
                return;
            }
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.PauseTiming();
        WaitUntil([&window] { return window.Idle(); });
        state.ResumeTiming();
    }
    state.counters["floor_ms"] = kPerfFloorMs;
}
BENCHMARK(GaugeReleaseToKeyboard)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRuns)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
