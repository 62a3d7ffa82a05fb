// Opening a device node whose access rights may not be in place yet: right after a device
// arrives, udev may still be granting them. An open refused for lack of permission is tried
// again a few times; any other failure ends at once.
#pragma once

#include <chrono>
#include <thread>

namespace hid {

inline constexpr int kPermissionAttempts = 5;
inline constexpr std::chrono::milliseconds kPermissionRetryPause{100};

enum class OpenOutcome { kOpened, kFailed, kPermissionDenied };

// open() returns a handle (convertible to bool) or a null one; denied() tells, after a failed
// open, whether permission was the reason. outcome says how it ended.
template <typename Open, typename Denied>
auto OpenWithPermissionRetry(Open open, Denied denied, OpenOutcome& outcome,
                             int attempts = kPermissionAttempts,
                             std::chrono::milliseconds pause = kPermissionRetryPause)
{
    for (int attempt = 1;; ++attempt) {
        auto handle = open();
        if (handle) {
            outcome = OpenOutcome::kOpened;
            return handle;
        }
        if (!denied()) {
            outcome = OpenOutcome::kFailed;
            return handle;
        }
        if (attempt >= attempts) {
            outcome = OpenOutcome::kPermissionDenied;
            return handle;
        }
        std::this_thread::sleep_for(pause);
    }
}

}  // namespace hid
