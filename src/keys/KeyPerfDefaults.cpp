#include "keys/KeyPerfDefaults.h"

namespace {

constexpr int kSwitchType = 3;
constexpr int kRapidTrigger = 1;
constexpr int kActuation = 75;
constexpr int kRapidTriggerDistance = 5;

}  // namespace

std::vector<KeyPerfRecord> DefaultKeyPerfRows(int profile, const std::vector<int>& keyCodes)
{
    std::vector<KeyPerfRecord> rows;
    rows.reserve(keyCodes.size());
    for (const int code : keyCodes) {
        KeyPerfRecord row;
        row.profile = profile;
        row.key_code = code;
        row.switch_type = kSwitchType;
        row.key_mode = kRapidTrigger;
        row.key_actuation = kActuation;
        row.rt_press = kRapidTriggerDistance;
        row.rt_release = kRapidTriggerDistance;
        rows.push_back(row);
    }
    return rows;
}
