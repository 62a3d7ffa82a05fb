// Keyboard writes that did not reach the keyboard: marked as owed, told once, written again as
// soon as the keyboard answers; and the exit, which lets the queued writes run first.
#include <chrono>
#include <thread>

#include "app/KeyboardDlg.h"
#include "device/DeviceManager.h"
#include "keys/KeyTableTransfer.h"

namespace {

constexpr int kUnsentText = 2403;
constexpr int kUnsentCaption = 1;
// A keyboard that still does not take an owed table is tried again after this long.
constexpr auto kUnsentRetryPause = std::chrono::seconds(1);
// How often the exit looks whether the worker is done.
constexpr auto kExitPollPause = std::chrono::milliseconds(5);

uint64_t FailedExchanges() { return DeviceManager::GetInstance().FailedExchanges(); }

}  // namespace

void KeyboardDlg::OweTables(int tables)
{
    if (tables == 0) return;
    if (worker.unsent.Mark(tables) && !worker.exiting.load()) {
        PostNotice(kUnsentText, kUnsentCaption);
    }
    // The next idle step tries at once: a failure is often a single lost report.
    worker.unsentRetryAt = std::chrono::steady_clock::now();
}

void KeyboardDlg::SettleTableWrite(int tables, int whole, uint64_t failedBefore)
{
    if (FailedExchanges() != failedBefore) {
        OweTables(tables);
    } else if (whole != 0) {
        worker.unsent.Clear(whole);
    }
}

bool KeyboardDlg::SendUnsentTables()
{
    if (worker.unsent.Owed() == 0) return true;
    // Every table but the macros is laid out by the key-index maps of a load.
    if (static_cast<int>(keyTables.maps.indexToCode.size()) < kMinMappedKeys) return false;
    const struct {
        int table;
        void (KeyboardDlg::*write)();
    } writes[] = {
        {UnsentTables::kMacros, &KeyboardDlg::WriteMacrosToDevice},
        {UnsentTables::kKeyTables, nullptr},
        {UnsentTables::kPerformance, &KeyboardDlg::WriteKeyPerfToDevice},
        {UnsentTables::kLighting, &KeyboardDlg::WriteUserColorsToDevice},
        {UnsentTables::kSettings, &KeyboardDlg::WriteSettingsToDevice},
    };
    for (const auto& [table, write] : writes) {
        if (!worker.unsent.Owes(table)) continue;
        const uint64_t failedBefore = FailedExchanges();
        if (table == UnsentTables::kKeyTables) {
            // Every layer and every advanced table: what the keyboard missed is not known.
            keyTables.advTableMask = ADV_TABLE_DKS | ADV_TABLE_PAIR | ADV_TABLE_TOGGLE;
            WriteProfileKeyMapsToDevice();
        } else {
            (this->*write)();
            if (table == UnsentTables::kLighting) WriteLightingToDevice();
        }
        // A keyboard that still does not answer keeps the rest owed.
        if (FailedExchanges() != failedBefore) return false;
        worker.unsent.Clear(table);
    }
    return true;
}

bool KeyboardDlg::RetryUnsentTables()
{
    if (!connection.deviceOpened.load() || worker.unsent.Owed() == 0 ||
        std::chrono::steady_clock::now() < worker.unsentRetryAt) {
        return false;
    }
    if (!SendUnsentTables()) {
        worker.unsentRetryAt = std::chrono::steady_clock::now() + kUnsentRetryPause;
    }
    return true;
}

void KeyboardDlg::FinishQueuedWrites(int boundMs)
{
    worker.exiting = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    const auto isWrite = [](int code) { return UnsentTables::WrittenBy(code) != 0; };
    while (running.load() != 0 && std::chrono::steady_clock::now() < deadline) {
        // The queue first: a write taken from it is under way before it leaves the queue.
        if (!worker.queue.Any(isWrite) && worker.runningWrite.load() == 0) return;
        Wake();
        std::this_thread::sleep_for(kExitPollPause);
    }
}
