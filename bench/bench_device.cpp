// The device link against the in-process virtual keyboard, which answers at once: what the
// link itself costs beside the protocol's fixed pauses. The pauses set the floor of a
// 19-chunk key-performance batch at (19 + 2) x 4 ms = 84 ms; checked reads have no pauses,
// so an 8-layer key-table read (2 markers + 80 chunks) has a floor of 2 x 4 ms = 8 ms.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "device/DeviceManager.h"
#include "device/Pause.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace {

class Link {
public:
    Link()
    {
        hid::SetBackend(&backend_);
        backend_.Plug(keyboard_);
        manager.AddSupportedDevice(0x3B6D, 0xFD70, L"Morvessa Keyboard", 101, 0);
        manager.Rescan();
    }
    ~Link()
    {
        manager.CloseAllDevices();
        hid::SetBackend(nullptr);
    }
    bool Ready() { return manager.GetCurrentHandle() != nullptr; }
    void ClearLog() { keyboard_->ClearLog(); }

    DeviceManager manager;

private:
    vkb::VirtualHidBackend backend_;
    std::shared_ptr<vkb::VirtualKeyboard> keyboard_ = std::make_shared<vkb::VirtualKeyboard>();
};

void KeyPerfWriteBatch(benchmark::State& state)
{
    Link link;
    if (!link.Ready()) {
        state.SkipWithError("no keyboard");
        return;
    }
    std::vector<uint8_t> table(1024);
    for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(i);
    for (auto _ : state) {
        if (!link.manager.WriteTableBatch(CMD_WRITE_KEY_PERF, 0, table)) {
            state.SkipWithError("write failed");
            break;
        }
        link.ClearLog();
    }
    state.counters["floor_ms"] = 84;
}
BENCHMARK(KeyPerfWriteBatch)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void KeyTableRead8Layers(benchmark::State& state)
{
    Link link;
    if (!link.Ready()) {
        state.SkipWithError("no keyboard");
        return;
    }
    std::vector<uint8_t> table(10 * 56);
    for (auto _ : state) {
        bool ok = link.manager.BeginBatch();
        for (uint16_t layer = 0; layer < 8; ++layer) {
            ok = link.manager.ReadTable(CMD_READ_KEYMAP, layer * 512, 512, table) && ok;
            benchmark::DoNotOptimize(table.data());
        }
        ok = link.manager.EndBatch() && ok;
        if (!ok) {
            state.SkipWithError("read failed");
            break;
        }
        link.ClearLog();
    }
    state.counters["floor_ms"] = 8;
}
BENCHMARK(KeyTableRead8Layers)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The 42 pauses of the key-performance batch alone: the floor as this machine's scheduler
// delivers it at the moment, to set the batch's time against.
void FixedPausesOfTheBatch(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 0; i < 2 * (19 + 2); ++i) PauseMs(2);
    }
    state.counters["floor_ms"] = 84;
}
BENCHMARK(FixedPausesOfTheBatch)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
