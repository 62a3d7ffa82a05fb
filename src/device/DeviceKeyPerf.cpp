#include "device/DeviceKeyPerf.h"

#include <algorithm>

namespace {

constexpr int kDistanceBits = 0x1FF;
constexpr int kDeadZoneBits = 0x7F;
constexpr int kDistanceMax = kDistanceBits + 1;

// A distance of 1..512 as the 9 bits of (distance - 1), with the dead zone above them.
void PutDistance(int distance, int deadZone, uint8_t& low, uint8_t& high)
{
    const int wire = (distance - 1) & kDistanceBits;
    low = static_cast<uint8_t>(wire & 0xFF);
    high = static_cast<uint8_t>((wire >> 8) | ((deadZone & kDeadZoneBits) << 1));
}

int TakeDistance(uint8_t low, uint8_t high) { return ((low | high << 8) & kDistanceBits) + 1; }

}  // namespace

void EncodeKeyPerf(const KeyPerfRecord& row, std::span<uint8_t, kKeyPerfEntryBytes> out)
{
    // A stored row comes from a database file that may hold any number: each field is held to
    // what its bits carry instead of wrapping into another value. A mode the keyboard does not
    // know is sent as off.
    const bool deadZones = row.deadzone_state > 0;
    const int pressZone = deadZones ? std::clamp(row.press_deadzone, 0, kDeadZoneBits) : 0;
    const int releaseZone = deadZones ? std::clamp(row.release_deadzone, 0, kDeadZoneBits) : 0;
    const int type =
        row.switch_type >= 0 && row.switch_type <= kKeyPerfTypeBits ? row.switch_type : 0;
    const int mode = row.key_mode >= 0 && row.key_mode <= 0xFF ? row.key_mode : 0;
    out[0] = static_cast<uint8_t>(type | kKeyPerfTypeMark);
    out[1] = static_cast<uint8_t>(mode);
    PutDistance(std::clamp(row.key_actuation, 1, kDistanceMax), 0, out[2], out[3]);
    PutDistance(std::clamp(row.rt_press, 1, kDistanceMax), pressZone, out[4], out[5]);
    PutDistance(std::clamp(row.rt_release, 1, kDistanceMax), releaseZone, out[6], out[7]);
}

void DecodeKeyPerf(std::span<const uint8_t, kKeyPerfEntryBytes> in, KeyPerfRecord& slot)
{
    slot.switch_type = in[0] & kKeyPerfTypeBits;
    slot.key_mode = in[1];
    slot.key_actuation = TakeDistance(in[2], in[3]);
    slot.rt_press = TakeDistance(in[4], in[5]);
    slot.rt_release = TakeDistance(in[6], in[7]);
    slot.press_deadzone = in[5] >> 1;
    slot.release_deadzone = in[7] >> 1;
    if (slot.press_deadzone != 0 || slot.release_deadzone != 0) slot.deadzone_state = 1;
}
