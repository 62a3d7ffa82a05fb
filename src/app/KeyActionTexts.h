// The captions the key-action decoder takes from the language texts.
#pragma once

#include "device/KeyActionDecoder.h"

// Number of the language text naming a MouseAction; 0 for any other value.
int MouseActionTextId(int action);

// The decoder's captions in the current language.
KeyActionTexts LanguageKeyActionTexts();
