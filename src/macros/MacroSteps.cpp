#include "macros/MacroSteps.h"

#include <algorithm>

namespace {

// What the recording budget counts from.
constexpr int kRecordingBudgetBase = 325;

}  // namespace

bool IsMacroStepType(int type)
{
    switch (type) {
        case MACRO_STEP_REPEAT:
        case MACRO_STEP_KEY_DOWN:
        case MACRO_STEP_KEY_UP:
        case MACRO_STEP_MOUSE_DOWN:
        case MACRO_STEP_MOUSE_UP:
            return true;
        default:
            return false;
    }
}

int MacroEventInsertIndex(bool mouseEvent, int position, int selected, int count)
{
    if (selected < 0 || selected >= count) return count;
    const bool last = selected == count - 1;
    if (last && (mouseEvent || position == 1)) return count;
    return position == 0 ? selected : selected + 1;
}

int MacroRecordingStepLimit(int macroCount, int storedSteps)
{
    return 2 * (kRecordingBudgetBase - macroCount - storedSteps);
}

int ClampToRange(int value, int low, int high) { return std::clamp(value, low, high); }
