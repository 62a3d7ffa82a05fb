#include "device/ProfileSwitchReport.h"

namespace {

constexpr size_t kKindByte = 0;
constexpr size_t kLayerByte = 1;
constexpr size_t kProfileByte = 2;

}  // namespace

std::optional<ProfileSwitch> DecodeProfileSwitchReport(std::span<const uint8_t> report)
{
    if (report.size() <= kProfileByte || report[kKindByte] != kProfileSwitchReportKind) {
        return std::nullopt;
    }
    const ProfileSwitch out{report[kLayerByte], report[kProfileByte]};
    if (out.layer >= kDeviceKeyLayers || out.deviceProfile >= kDeviceProfiles) return std::nullopt;
    return out;
}
