// What the main window keeps for the keyboard's own input reports and the switch calibration:
// the calibration-on resend clock and a profile switch waiting for a page that lets it act
// (both the worker's), the calibration button's look to restore and the keyboard hook of the
// calibration (the UI thread's).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "device/ProfileSwitchReport.h"
#include "platform/mui/KeyHookManager.h"
#include "platform/mui/WindowTypes.h"

namespace CalibrationTimer {
// Window timers of the main window: the end of a calibration asked for by another thread, and
// the pause after the calibration-off command.
inline constexpr unsigned kEndRequested = 286;
inline constexpr unsigned kAfterOff = 287;
inline constexpr unsigned kAfterOffMs = 500;
}  // namespace CalibrationTimer

struct CalibrationState {
    // The keyboard leaves calibration unless told again within this time.
    static constexpr int64_t kResendMs = 1900;
    // Milliseconds of a steady clock; tests give their own.
    std::function<int64_t()> nowMs = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    // Worker: when the calibration-on command last went out from the poll; nothing until the
    // first poll of a calibration, which starts the clock.
    std::optional<int64_t> lastResendMs;
    // Worker: the last profile switch the keyboard reported while the page shown did not allow
    // acting on it.
    std::optional<ProfileSwitch> pendingSwitch;
    // UI thread: the calibration button's background before the calibration coloured it.
    MUI::ARGB buttonColor = 0;
    // UI thread: the keyboard hook that swallows every key while calibrating (null otherwise).
    std::unique_ptr<MUI::KeyHookManager> hook;
};
