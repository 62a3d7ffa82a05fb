// The fixed tables of the performance page: the full travel of each switch type, the default
// dead zone, the switch precision of each keyboard model, and the presets.
#pragma once

#include "platform/mui/Precision.h"

// Full travel in 0.01 mm of a switch type (0..23); 400 for a type outside the table.
int SwitchTravel(int switchType);
// The default dead zone of a switch type; the table holds types 0..4, and any other type
// (two models offer a sixth) gets the same 12.
int DeadZoneDefault(int switchType);
// The precision of a keyboard model.
MUI::PRECISION SwitchPrecisionOf(int modelId);

// The performance presets of the page's preset chooser.
enum PerfPreset : int {
    PERF_PRESET_GAMING = 201,
    PERF_PRESET_FAST = 202,
    PERF_PRESET_OFFICE = 203
};

struct PerfPresetValues {
    int mode;
    int actuation;
    int press;
    int release;
};

// False for an id that is not a preset.
bool PerfPresetOf(int presetId, PerfPresetValues& values);

// A slider position rescaled to another step so that its distance in millimetres stays:
// the truncation of (position x old step / new step), in single precision.
int RescalePosition(int position, int oldStep, int newStep);
