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
// - from a colour button's click in the per-key colour mode to the keyboard holding the colour
//   table: the worker's 100 ms wait, then 9 exchanges, a floor of 136 ms.
// - recording accuracy: keys typed into the window (the hook's synthetic events) at known
//   times while a macro records; the largest gap between a step's recorded delay and the time
//   that really passed between its event and the next (within 2 ms is the aim).
// - the whole macro memory (32 macros, 880 steps: 3584 bytes) from the queued write to the
//   keyboard holding it: 64 chunks and the batch's two markers, 66 exchanges with the fixed
//   2 ms pauses before and after each, a floor of 66 x 4 ms = 264 ms.
// Each is run 20 times; the median is the figure to read.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

#include <unistd.h>

#include "BenchMainWindow.h"
#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "app/RegistrySettings.h"
#include "device/MacroImage.h"
#include "keys/KeyPalette.h"
#include "platform/mui/CRecordList.h"
#include "platform/mui/KeyHook.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MListBox.h"
#include "platform/mui/MListBoxEx.h"
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
// The colour table: the worker's 100 ms wait for the keyboard, then 7 chunks and the batch's
// two markers with the fixed 2 ms pauses before and after each.
constexpr double kPaintFloorMs = 100 + 9 * 4;
constexpr auto kTimeout = 20s;
constexpr double kMacroMemoryFloorMs = 66 * 4;
// Desktop key codes of A and S (evdev codes plus 8).
constexpr unsigned kNativeA = 38;
constexpr unsigned kNativeS = 39;

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
        const int actuation = window.keyboard->KeyPerf(index)[2] == 99 ? 120 : 100;
        dlg.perfPage.stroke->SetCurKeyActuation(actuation);
        const int batches = window.keyboard->BatchesEnded() + 1;
        const auto start = Clock::now();
        dlg.OnMessage(289, MUI::kNotifyClick, actuation);
        while (window.keyboard->BatchesEnded() < batches ||
               window.keyboard->KeyPerf(index)[2] != actuation - 1) {
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

void RecordingAccuracy(benchmark::State& state)
{
    Window& window = TheWindow();
    if (!window.Ready()) {
        state.SkipWithError("the window did not load the keyboard");
        return;
    }
    KeyboardDlg& dlg = *window.dlg;
    // Pauses between the events, in milliseconds.
    constexpr int kGaps[] = {3, 8, 15, 1, 40, 22, 5, 60, 12, 30};
    double worstMs = 0;
    for (auto _ : state) {
        dlg.macroPage.list->SetCurSel(0);
        dlg.StartMacroRecording();
        std::vector<Clock::time_point> sent;
        const auto start = Clock::now();
        auto at = start;
        for (size_t i = 0; i <= std::size(kGaps); ++i) {
            std::this_thread::sleep_until(at);
            sent.push_back(Clock::now());
            MUI::InjectNativeKey(i % 2 == 0 ? kNativeA : kNativeS, false);
            if (i < std::size(kGaps)) at += std::chrono::milliseconds(kGaps[i]);
        }
        const std::vector<MUI::RecordItem> steps = dlg.macroPage.steps->GetAllItems();
        for (size_t i = 0; i + 1 < sent.size() && i < steps.size(); ++i) {
            const double real =
                std::chrono::duration<double, std::milli>(sent[i + 1] - sent[i]).count();
            worstMs = std::max(worstMs, std::abs(real - steps[i].delay));
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.PauseTiming();
        for (size_t i = 0; i <= std::size(kGaps); ++i) {
            MUI::InjectNativeKey(i % 2 == 0 ? kNativeA : kNativeS, true);
        }
        dlg.StopMacroRecording();
        WaitUntil([&window] { return window.Idle(); });
        state.ResumeTiming();
    }
    state.counters["worst_error_ms"] = worstMs;
}
BENCHMARK(RecordingAccuracy)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRuns)
    ->ReportAggregatesOnly(true);

void FullMacroMemoryWrite(benchmark::State& state)
{
    Window& window = TheWindow();
    if (!window.Ready()) {
        state.SkipWithError("the window did not load the keyboard");
        return;
    }
    KeyboardDlg& dlg = *window.dlg;
    KBDataBase& db = KBDataBase::GetInstance();
    // 32 macros sharing the 880 steps the memory holds.
    std::vector<MacroRecord*> stored;
    int macros = db.GetMacros(stored);
    for (MacroRecord* macro : stored) {
        db.DeleteMacroSteps(macro->macro_id);
        delete macro;
    }
    for (; macros < kMacroImageMacros; ++macros) db.InsertNewMacro(L"bench");
    stored.clear();
    db.GetMacros(stored);
    for (size_t m = 0; m < stored.size(); ++m) {
        std::vector<MacroStepRecord> steps(kMacroImageMaxSteps / kMacroImageMacros +
                                           (m < kMacroImageMaxSteps % kMacroImageMacros ? 1 : 0));
        for (size_t i = 0; i < steps.size(); ++i) {
            steps[i].macro_id = stored[m]->macro_id;
            steps[i].type = i % 2 == 0 ? 2 : 3;
            steps[i].value = 'A';
            steps[i].record_index = static_cast<int>(i);
            steps[i].delay_time = static_cast<int>(m * 10 + i);
        }
        db.InsertMacroSteps(steps);
        delete stored[m];
    }
    const size_t lastStep = kMacroImageBytes - 4;
    for (auto _ : state) {
        window.keyboard->ModifyMemory([](vkb::KeyboardMemory& memory) {
            std::fill(memory.macros.begin(), memory.macros.end(), 0);
        });
        const int batches = window.keyboard->BatchesEnded() + 1;
        const auto start = Clock::now();
        dlg.QueueCommand(QCMD_WRITE_MACROS);
        while (window.keyboard->BatchesEnded() < batches ||
               window.keyboard->Memory().macros[lastStep] == 0) {
            if (Clock::now() - start > kTimeout) {
                state.SkipWithError("the keyboard never held the macro memory");
                return;
            }
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.PauseTiming();
        WaitUntil([&window] { return window.Idle(); });
        state.ResumeTiming();
    }
    state.counters["floor_ms"] = kMacroMemoryFloorMs;
}
BENCHMARK(FullMacroMemoryWrite)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRuns)
    ->ReportAggregatesOnly(true);

// From a colour button's click on the lighting page in the per-key colour mode (one key
// selected) to the keyboard holding the new colour table, through the real queue and worker.
void PerKeyPaintToKeyboard(benchmark::State& state)
{
    Window& window = TheWindow();
    if (!window.Ready()) {
        state.SkipWithError("the window did not load the keyboard");
        return;
    }
    KeyboardDlg& dlg = *window.dlg;
    dlg.lightPage.modeList->SelectData(0);  // per-key colours
    dlg.OnMessage(151, MUI::kNotifyClick, 0);
    WaitUntil([&window] { return window.Idle(); });
    dlg.lightPage.keyboard->ResetAllItemCheck(false);
    dlg.lightPage.keyboard->SetKeyCheck(kKeyA, true);
    const size_t at = KeyIndex(kKeyA) * 3;
    for (auto _ : state) {
        // Red (button 176: 255, 5, 5) and white (186) take turns.
        const bool white = window.keyboard->Memory().userColors[at + 1] == 5;
        const uint8_t green = white ? 255 : 5;
        const int batches = window.keyboard->BatchesEnded() + 1;
        const auto start = Clock::now();
        dlg.OnMessage(white ? 186 : 176, MUI::kNotifyClick, 0);
        while (window.keyboard->BatchesEnded() < batches ||
               window.keyboard->Memory().userColors[at + 1] != green) {
            if (Clock::now() - start > kTimeout) {
                state.SkipWithError("the keyboard never held the colour");
                return;
            }
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        state.PauseTiming();
        WaitUntil([&window] { return window.Idle(); });
        state.ResumeTiming();
    }
    state.counters["floor_ms"] = kPaintFloorMs;
}
BENCHMARK(PerKeyPaintToKeyboard)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRuns)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
