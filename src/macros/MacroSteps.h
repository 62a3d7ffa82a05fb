// The macro editor's rules without its window: step and delay kinds, where an inserted event
// goes, the limits of the keyboard's macro memory, the recording budget, and the numbers the
// page's edits hold.
#pragma once

#include <string>

enum MacroStepType : int {
    MACRO_STEP_REPEAT = 0,
    MACRO_STEP_KEY_DOWN = 2,
    MACRO_STEP_KEY_UP = 3,
    MACRO_STEP_MOUSE_DOWN = 4,
    MACRO_STEP_MOUSE_UP = 5,
};

enum MacroDelayMode : int {
    MACRO_DELAY_RECORDED = 1,
    MACRO_DELAY_NONE = 2,
    MACRO_DELAY_FIXED = 3,
};

enum MacroHookMode : int {
    MACRO_HOOK_OFF = 0,
    MACRO_HOOK_RECORD = 1,
    MACRO_HOOK_CAPTURE = 2,
};

inline constexpr int kMacroDefaultDelay = 10;
inline constexpr int kMacroMinPlayTimes = 1;
inline constexpr int kMacroMaxPlayTimes = 99;
// A step's delay travels in a 16-bit field.
inline constexpr int kMacroMaxDelay = 0xFFFF;
// The pause a recorded step keeps at most.
inline constexpr int kMacroMaxRecordedDelay = 31000;

// True for the types a stored step may have.
bool IsMacroStepType(int type);

// Where the down step of an inserted pair goes (the up step follows it): the end of the list
// (count) or an index inside it. position 0 is before the selected step, 1 after it; selected
// is -1 for none. Mouse buttons go to the end also when the last step is selected for "before".
int MacroEventInsertIndex(bool mouseEvent, int position, int selected, int count);

// The steps a recording may take: twice what is left of 325 after the macros and their steps.
int MacroRecordingStepLimit(int macroCount, int storedSteps);

// The value held to its range.
int ClampToRange(int value, int low, int high);
