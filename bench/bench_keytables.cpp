// From a changed key row in the database to the keyboard holding the new layer: one row
// update and the layer write against the in-process virtual keyboard. The layer has no
// advanced key, so only the key-table batch goes out: 12 writes, each with the protocol's
// fixed 2 ms pauses before and after it, a floor of 12 x 4 ms = 48 ms.
// Saving an advanced key with a DKS, a mod-tap and a toggle key bound on the base layer sends
// all three advanced tables before the layer: 2 + 5 + 3 + 14 + 12 = 36 writes, a floor of
// 36 x 4 ms = 144 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include <unistd.h>

#include "device/AdvancedKeyTables.h"
#include "device/DeviceManager.h"
#include "device/KeyMacroType.h"
#include "keys/KeyTableTransfer.h"
#include "storage/KBDataBase.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace {

constexpr int kProfile = 1;
constexpr int kLayer = 1;

class Setup {
public:
    Setup()
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("bench-keytables-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_ / "db");
        db().Close();
        opened_ = db().Open(folder_.wstring() + L"/", L"QX71");
        std::vector<KeyMacroRecord> rows;
        for (int layer = 0; layer <= 8; ++layer) {
            for (size_t i = 0; i < vkb::kKeyCount; ++i) {
                const int code = vkb::DefaultKeyUsage(i);
                if (code == 0) continue;
                KeyMacroRecord row;
                row.profile = kProfile;
                row.fn_layer = layer;
                row.key_code = code;
                row.macro_type = layer == 0 ? KMT_KEY : KMT_FUNCTION;
                row.macro_value = layer == 0 ? code : 1;
                rows.push_back(row);
            }
        }
        db().InsertKeyMacros(rows);

        hid::SetBackend(&backend_);
        backend_.Plug(keyboard_);
        manager.AddSupportedDevice(0x3B6D, 0xFD70, L"Morvessa Keyboard", 101, 0);
        manager.Rescan();
    }
    ~Setup()
    {
        manager.CloseAllDevices();
        hid::SetBackend(nullptr);
        db().Close();
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    bool Ready() { return opened_ && manager.GetCurrentHandle() != nullptr; }
    static KBDataBase& db() { return KBDataBase::GetInstance(); }

    DeviceManager manager;
    KeyTableState state;

private:
    std::filesystem::path folder_;
    bool opened_ = false;
    vkb::VirtualHidBackend backend_;
    std::shared_ptr<vkb::VirtualKeyboard> keyboard_ = std::make_shared<vkb::VirtualKeyboard>();
};

void ChangedRowToKeyboard(benchmark::State& state)
{
    Setup setup;
    KeyTableTransfer transfer(setup.manager, Setup::db(), setup.state);
    if (!setup.Ready() || !transfer.ReadDefaultKeyMap(kProfile)) {
        state.SkipWithError("no keyboard or database");
        return;
    }
    KeyMacroRecord row;
    Setup::db().GetKeyMacro(kProfile, kLayer, 0x04, row);
    int usage = 0xE9;
    for (auto _ : state) {
        row.macro_type = KMT_CONSUMER;
        row.macro_value = usage;
        usage = usage == 0xE9 ? 0xEA : 0xE9;
        Setup::db().UpdateKeyMacro(row);
        if (!transfer.WriteLayerKeyMap(kProfile, kLayer, kProfile)) {
            state.SkipWithError("write failed");
            return;
        }
    }
}
BENCHMARK(ChangedRowToKeyboard)->Unit(benchmark::kMillisecond)->UseRealTime();

// Binds an advanced key of the type on the key's base-layer row.
int BindAdvancedKey(int type, int code, int key1, int key2, int reserved)
{
    MagneticKeyRecord key;
    key.profile = kProfile;
    key.key_value = code;
    key.macro_type = type;
    key.key1_value = key1;
    key.key2_value = key2;
    key.reserved = reserved;
    const int id = Setup::db().InsertMagneticKey(key);
    KeyMacroRecord row;
    Setup::db().GetKeyMacro(kProfile, 0, code, row);
    row.macro_type = type;
    row.macro_value = id;
    Setup::db().UpdateKeyMacro(row);
    return id;
}

void AdvancedKeySavedToKeyboard(benchmark::State& state)
{
    Setup setup;
    KeyTableTransfer transfer(setup.manager, Setup::db(), setup.state);
    if (!setup.Ready() || !transfer.ReadDefaultKeyMap(kProfile)) {
        state.SkipWithError("no keyboard or database");
        return;
    }
    const int dks = BindAdvancedKey(KMT_DKS, 0x04, 0x230F, 0x0F23, 0x04);
    for (int usage : {0x05, 0x06, 0x07, 0x08}) {
        KeyItemRecord item;
        item.macro_id = dks;
        item.key_value = usage;
        item.trigger_state1 = 1;
        Setup::db().InsertKeyItem(item);
    }
    const int mt = BindAdvancedKey(KMT_MT, 0x09, 0x0A, 0x0B, 200);
    BindAdvancedKey(KMT_TGL, 0x0C, 0x0D, 0, 0);
    MagneticKeyRecord saved;
    Setup::db().GetMagneticKey(mt, saved);
    for (auto _ : state) {
        // The editor's save of the mod-tap key, then what the page queues: every table.
        saved.reserved = saved.reserved == 200 ? 300 : 200;
        Setup::db().UpdateMagneticKey(mt, saved);
        setup.state.advTableMask = ADV_TABLE_DKS | ADV_TABLE_PAIR | ADV_TABLE_TOGGLE;
        if (!transfer.WriteKeyMap(kProfile, 0, kProfile)) {
            state.SkipWithError("write failed");
            return;
        }
    }
}
BENCHMARK(AdvancedKeySavedToKeyboard)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
