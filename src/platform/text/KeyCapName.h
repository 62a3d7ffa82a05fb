// The key-cap text of a key code (HID keyboard usage): the one name of each key that the key
// pages, the palette and the codecs show.
#pragma once

#include <string>

namespace text {

// Empty when the code has no key-cap text.
std::wstring KeyCapName(int usage);

}  // namespace text
