// What the real program prints of its connection state (with TV_STARTUP_REPORT set), and the
// time the process tests give it.
#pragma once

#include <chrono>

namespace apptest {

// Generous: a sanitized Qt program may start slowly on a loaded machine.
inline constexpr auto kProgramTimeout = std::chrono::seconds(60);
// The device name of the program's own config.xml.
inline constexpr const wchar_t* kProgramDeviceName = L"Tolvenic";

inline constexpr const char* kStateLoaded = "opened=1 page=1 tabs=1 panel=0 status=821";
inline constexpr const char* kStateNoKeyboard = "found=0 opened=0 page=0 tabs=0 panel=1 status=820";

}  // namespace apptest
