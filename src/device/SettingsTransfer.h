// The settings-block exchanges: the keyboard-wide switch settings and the lighting fields
// patched into the block as the keyboard reports it, and the lighting fields read back into
// the database. Worker thread. Every operation returns true only when each exchange passed.
//
// A write always starts from a block that was read: when the read fails, nothing is written,
// the batch is ended and nothing stored changes.
#pragma once

#include <functional>
#include <optional>

#include "device/DeviceSettingsBlock.h"
#include "device/KeyIndexMaps.h"

class DeviceManager;
class KBDataBase;

// The pause after a settings write, while the keyboard stores the block.
inline constexpr int kSettingsStorePauseMs = 400;

class SettingsTransfer {
public:
    using Pause = std::function<void(int)>;

    SettingsTransfer(DeviceManager& device, KBDataBase& db, Pause pause);

    // Data bytes 4-7 from the global configuration and the profile's performance keys.
    // Nothing for a profile below 1.
    bool WriteSwitchSettings(int profile, bool calibrationBit);
    // Data bytes 8-16 from the profile's record of mode. Nothing for a profile below 1.
    bool WriteLighting(int profile, int mode);
    // The block's light mode becomes the profile's active one and its fields go to the
    // profile's record of that mode; then the user colours replace the profile's stored ones,
    // only when they arrived whole. False when the block or the colours did not arrive whole:
    // the colours are then not known and must not be written over the keyboard's.
    bool ReadLighting(int profile, const KeyIndexMaps& maps);

    // The switch settings the configuration holds for profile.
    SwitchSettings ConfiguredSwitchSettings(int profile, bool calibrationBit);

private:
    std::optional<SettingsBlock> ReadBlock();
    bool WriteBlock(const SettingsBlock& block);
    bool ReadUserColors(int profile, const KeyIndexMaps& maps);
    // The stored value of key when it is a decimal number within [min, max], else its default.
    int ConfigInt(int profile, const wchar_t* key, int min, int max);

    DeviceManager& device_;
    KBDataBase& db_;
    Pause pause_;
};
