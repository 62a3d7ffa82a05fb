// A key's action read back from its 3-byte key-table entry (the counterpart of
// KeyActionEncoder), and the captions the program shows for it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "storage/KeyMacroRecord.h"

// The captions the decoder gives actions that are named in the user's language.
struct KeyActionTexts {
    // Caption of a MouseAction; without it mouse actions get an empty caption.
    std::function<std::wstring(int mouseAction)> mouseCaption;
};

// Fills rec from the 3 code bytes (kind, value low, value high) read from the keyboard. rec holds
// the stored row of that key; macro_type is set to 0 first and stays 0 for codes that must not
// change the stored row (advanced keys, unknown kinds, a macro place no macro has).
// macroIds: every macro's id in the database's order, the order of the keyboard's macro memory;
// a macro key names its macro by its place there, as the encoder sends it.
void DecodeDeviceKeyCode(const uint8_t code[3], KeyMacroRecord& rec, const KeyActionTexts& texts,
                         std::span<const int> macroIds);

// A reported key (kind, value) as a key code: a single modifier bit of a key gives its modifier
// usage, any other key value gives fallback, the function 0xFF gives 0xFF, anything else 0.
int ModifierBitToUsage(int kind, unsigned value, int fallback);

// Caption of a keyboard function as the decoder gives it; empty when unlisted.
std::wstring DeviceFunctionCaption(int code);
// Caption of a consumer usage as the decoder gives it; empty when unlisted.
std::wstring ConsumerUsageCaption(int usage);
