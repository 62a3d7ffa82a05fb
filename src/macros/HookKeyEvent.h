// A key event of the keyboard hook as the macro page records it: the key code (the virtual
// key, the numeric pad by its scan codes, the modifiers by their HID usages) and its name.
#pragma once

#include <cstdint>
#include <string>

#include "platform/mui/KeyHook.h"

// The virtual key of the event, the numeric-pad keys (digits, decimal key and Enter) taken by
// scan code whatever the Num Lock state. 0 for an event without a key.
int HookKeyCode(const MUI::KBDLLHOOKSTRUCT& key);

// The name of a key code as HookKeyCode gives it: the fixed names of the modifiers, the
// Windows and media keys, else the system's name of the key.
std::wstring HookKeyName(int code);

// The code a step stores: the modifiers by their usages (224 .. 231); the virtual keys whose
// codes fall in that range carry the plain-key bit of the macro image.
int MacroStepKeyValue(int code);
