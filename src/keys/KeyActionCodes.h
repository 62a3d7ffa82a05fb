// Reading a key's action back from the keyboard, and the captions the program shows for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/KeyMacroRecord.h"

// Fills rec from the 3 code bytes (kind, value low, value high) read from the keyboard. rec holds
// the stored row of that key; macro_type is set to 0 first and stays 0 for codes that must not
// change the stored row (advanced keys, unknown kinds).
void DecodeDeviceKeyCode(const uint8_t code[3], KeyMacroRecord& rec);

// A reported key (kind, value) as a key code: a single modifier bit of a key gives its modifier
// usage, any other key value gives fallback, the function 0xFF gives 0xFF, anything else 0.
int ModifierBitToUsage(int kind, unsigned value, int fallback);

// Number of the language text naming a MouseAction; 0 for any other value.
int MouseActionTextId(int action);

// Caption of a keyboard function as the decoder gives it; empty when unlisted.
std::wstring DeviceFunctionCaption(int code);
// Caption of a consumer usage as the decoder gives it; empty when unlisted.
std::wstring ConsumerUsageCaption(int usage);

// "<base> <n>" for the first n = 1, 2, ... not equal (exactly, case-sensitively) to any of the
// names; gives up at n = 1000 and returns that candidate.
std::wstring MakeUniqueProfileName(const std::wstring& base,
                                   const std::vector<std::wstring>& names);
