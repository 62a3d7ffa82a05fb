// What the real program prints of its connection state (with TV_STARTUP_REPORT set), and the
// time the process tests give it.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "app/ChildProgram.h"

namespace apptest {

// Generous: a sanitized Qt program may start slowly on a loaded machine.
inline constexpr auto kProgramTimeout = std::chrono::seconds(60);
// The device name of the program's own config.xml.
inline constexpr const wchar_t* kProgramDeviceName = L"Tolvenic";

inline constexpr const char* kStateLoaded = "opened=1 page=1 tabs=1 panel=0 status=821";
// Also after an unplug: the panel shows its "no keyboard" picture again, not the last load's.
inline constexpr const char* kStateNoKeyboard =
    "found=0 opened=0 page=0 tabs=0 panel=1 status=820 picture=0";

// Waits for a state line of the program that contains `state`; false at kProgramTimeout.
inline bool WaitForProgramState(ChildProgram& program, const std::string& state)
{
    const auto end = std::chrono::steady_clock::now() + kProgramTimeout;
    while (std::chrono::steady_clock::now() < end) {
        const std::optional<std::string> line =
            program.WaitForLine("state ", std::chrono::seconds(1));
        if (line && line->find(state) != std::string::npos) return true;
    }
    return false;
}

}  // namespace apptest
