// The report the keyboard sends by itself when the user switches layer or profile on it
// (kind 0xA1), as delivered with the report id removed: byte 1 the FN layer now active
// (0 the standard layer), byte 2 the keyboard's profile now active.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "device/DeviceKeyPerf.h"

inline constexpr uint8_t kProfileSwitchReportKind = 0xA1;
// The layers of the keyboard's key tables (0 the standard layer).
inline constexpr int kDeviceKeyLayers = 8;
// The keyboard's own profiles: each has its performance table at profile x 1024.
inline constexpr int kDeviceProfiles = 4;

static_assert((kDeviceProfiles - 1) * kKeyPerfProfileStride + kKeyPerfTableBytes <= 0x10000,
              "every device profile's table has a 16-bit address");

struct ProfileSwitch {
    int layer = 0;
    int deviceProfile = 0;
};

// The layer and profile; nothing for a report of another kind, or naming a layer the key
// tables do not have or a profile the keyboard does not have.
std::optional<ProfileSwitch> DecodeProfileSwitchReport(std::span<const uint8_t> report);
