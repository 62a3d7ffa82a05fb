// The per-key performance exchanges: the keyboard's performance table into the main window's
// slots and the profile's rows, and the profile's rows out to the keyboard. Worker thread.
// Every operation returns true only when each of its exchanges passed.
#pragma once

#include "device/KeyIndexMaps.h"
#include "device/KeyPerfState.h"

class DeviceManager;
class KBDataBase;

class KeyPerfTransfer {
public:
    KeyPerfTransfer(DeviceManager& device, KBDataBase& db, const KeyIndexMaps& maps,
                    KeyPerfState& state);

    // The table at address 0 in one batch, decoded into the slots and the profile's rows.
    // A table that does not arrive whole changes neither, and marks the state unread
    // (KeyPerfState::unread): no write sends the table until a later read gets it whole.
    bool ReadFromDevice(int profile);
    // The table of a device profile (at device profile x 1024), without batch markers, as
    // after a profile switch on the keyboard. False, reading nothing, for a profile below 1 or
    // a device profile the keyboard does not have.
    bool ReadDeviceProfile(int profile, int deviceProfile);
    // The profile's rows, encoded at their keys' indexes (other keys 0), in one batch at
    // address 0. Nothing for a profile below 1, without rows, or while the table is unread.
    bool WriteToDevice(int profile);

private:
    bool ReadAt(int profile, uint16_t base);

    DeviceManager& device_;
    KBDataBase& db_;
    const KeyIndexMaps& maps_;
    KeyPerfState& state_;
};
