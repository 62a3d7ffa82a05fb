#include "keys/SwitchPerformanceTables.h"

#include <array>
#include <iterator>

namespace {

constexpr std::array<int, 24> kSwitchTravelTable = {400, 330, 330, 400, 400, 330, 330, 330,
                                                    340, 400, 330, 330, 330, 330, 340, 330,
                                                    330, 330, 330, 400, 330, 330, 330, 330};
constexpr int kDefaultTravel = 400;
constexpr std::array<int, 5> kDeadZoneDefaultTable = {12, 12, 12, 12, 12};
constexpr int kDeadZoneBeyondTable = 12;

constexpr MUI::PRECISION kStandardPrecision{{2, 2, 1, 5, 1, 110, 25}};
constexpr MUI::PRECISION kFinePrecision{{1, 1, 1, 10, 1, 220, 50}};
constexpr MUI::PRECISION kCoarsePrecision{{10, 2, 5, 5, 5, 110, 25}};

constexpr struct {
    int id;
    PerfPresetValues values;
} kPresets[] = {
    {PERF_PRESET_GAMING, {1, 75, 5, 5}},
    {PERF_PRESET_FAST, {1, 50, 5, 5}},
    {PERF_PRESET_OFFICE, {0, 90, 0, 0}},
};

}  // namespace

int SwitchTravel(int switchType)
{
    if (switchType < 0 || switchType >= static_cast<int>(kSwitchTravelTable.size())) {
        return kDefaultTravel;
    }
    return kSwitchTravelTable[static_cast<size_t>(switchType)];
}

int DeadZoneDefault(int switchType)
{
    if (switchType < 0 || switchType >= static_cast<int>(kDeadZoneDefaultTable.size())) {
        return kDeadZoneBeyondTable;
    }
    return kDeadZoneDefaultTable[static_cast<size_t>(switchType)];
}

MUI::PRECISION SwitchPrecisionOf(int modelId)
{
    switch (modelId) {
        case 103:
        case 105:
        case 107:
            return kFinePrecision;
        case 104:
        case 106:
            return kCoarsePrecision;
        default:
            return kStandardPrecision;
    }
}

bool PerfPresetOf(int presetId, PerfPresetValues& values)
{
    for (const auto& preset : kPresets) {
        if (preset.id == presetId) {
            values = preset.values;
            return true;
        }
    }
    return false;
}

int RescalePosition(int position, int oldStep, int newStep)
{
    if (newStep <= 0) return position;
    const float scaled =
        static_cast<float>(position) * static_cast<float>(oldStep) / static_cast<float>(newStep);
    return static_cast<int>(scaled);
}
