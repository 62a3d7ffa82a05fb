// The per-key performance slots the main window keeps (one per key index of the keyboard's
// performance table) and the key-code-to-switch-type map of the last write. The performance
// page fills them on the UI thread and the worker's reads and writes use them, so every use
// holds the mutex.
#pragma once

#include <array>
#include <map>
#include <mutex>

#include "device/DeviceKeyPerf.h"
#include "storage/KeyPerfRecord.h"

struct KeyPerfState {
    mutable std::mutex mutex;
    std::array<KeyPerfRecord, kKeyPerfKeys> slots{};
    std::map<int, int> switchTypeByCode;
    // The last read of the keyboard's performance table did not get it whole: nothing of it
    // was stored, and the table is not written until a read gets it whole.
    bool unread = false;
};
