// Switch performance: the 19-chunk performance write to the in-process virtual keyboard (21
// exchanges with the batch markers, each with the protocol's fixed 2 ms pauses before and
// after it: a floor of 21 x 4 ms = 84 ms), saving 128 rows in one transaction, and one drag
// notification of the travel gauge on the performance page (three settings writes and 128
// marked keys).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include <unistd.h>

#include "app/KeyboardDlg.h"
#include "device/DeviceManager.h"
#include "device/KeyPerfTransfer.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/UiThread.h"
#include "storage/KBDataBase.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace {

constexpr int kProfile = 1;
constexpr int kKeys = 128;

KBDataBase& db() { return KBDataBase::GetInstance(); }

// A fresh database holding one performance row per key of profile 1.
class Database {
public:
    Database()
    {
        folder_ =
            std::filesystem::temp_directory_path() / ("bench-perf-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_ / "db");
        db().Close();
        opened_ = db().Open(folder_.wstring() + L"/", L"QX71");
        db().InsertDefaultConfig(kProfile);
        std::vector<KeyPerfRecord> rows;
        for (int code = 1; code <= kKeys; ++code) rows.push_back(Row(code, 75));
        db().InsertKeyPerfs(rows);
    }
    ~Database()
    {
        db().Close();
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    bool Opened() const { return opened_; }

    static KeyPerfRecord Row(int code, int actuation)
    {
        KeyPerfRecord row;
        row.profile = kProfile;
        row.key_code = code;
        row.switch_type = 3;
        row.key_mode = 1;
        row.key_actuation = actuation;
        row.rt_press = 5;
        row.rt_release = 5;
        return row;
    }

private:
    std::filesystem::path folder_;
    bool opened_ = false;
};

void PerformanceWriteToKeyboard(benchmark::State& state)
{
    Database database;
    vkb::VirtualHidBackend backend;
    auto keyboard = std::make_shared<vkb::VirtualKeyboard>();
    hid::SetBackend(&backend);
    backend.Plug(keyboard);
    DeviceManager manager;
    manager.AddSupportedDevice(0x3B6D, 0xFD70, L"Morvessa Keyboard", 101, 0);
    manager.Rescan();
    KeyIndexMaps maps;
    for (int code = 1; code <= kKeys; ++code) maps.codeToIndex[code] = code - 1;
    KeyPerfState perf;
    KeyPerfTransfer transfer(manager, db(), maps, perf);
    if (!database.Opened() || manager.GetCurrentHandle() == nullptr) {
        state.SkipWithError("no keyboard or database");
    } else {
        for (auto _ : state) {
            if (!transfer.WriteToDevice(kProfile)) state.SkipWithError("write failed");
        }
    }
    manager.CloseAllDevices();
    hid::SetBackend(nullptr);
}
// The median of 20 single writes.
BENCHMARK(PerformanceWriteToKeyboard)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);

void SaveRowsInOneTransaction(benchmark::State& state)
{
    Database database;
    int actuation = 1;
    for (auto _ : state) {
        std::vector<KeyPerfRecord> rows;
        for (int code = 1; code <= kKeys; ++code) rows.push_back(Database::Row(code, actuation));
        db().UpdateKeyPerfs(std::move(rows));
        actuation = actuation % 100 + 1;
    }
}
BENCHMARK(SaveRowsInOneTransaction)->Unit(benchmark::kMillisecond);

void GaugeDragNotification(benchmark::State& state)
{
    MUI::EnsureApplication();
    Database database;
    KeyboardDlg dlg;
    dlg.InitUI(RECT{0, 0, 1600, 970});
    dlg.page.currentProfile = kProfile;
    MUI::KeyboardCtrl* view = dlg.perfPage.keyboard;
    for (int code = 1; code <= kKeys; ++code) {
        view->AddKeyItem(L"K", L"", code, code * 10, 0, code * 10 + 9, 9, L"", 0);
    }
    view->ResetAllItemCheck(true);
    int actuation = 1;
    for (auto _ : state) {
        dlg.perfPage.stroke->SetCurKeyActuation(actuation);
        dlg.OnMessage(289, MUI::kNotifyDragging, actuation);
        actuation = actuation % 150 + 1;
    }
}
BENCHMARK(GaugeDragNotification)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
