// The time between recorded events: each event takes the milliseconds since the one before,
// held to 0 .. 31000; the first event of a recording takes 0.
#pragma once

#include <cstdint>

class StepDelayClock {
public:
    // The delay of an event at `nowMs` (a steady clock).
    int Take(int64_t nowMs);
    void Reset() { previousMs_ = 0; }

private:
    int64_t previousMs_ = 0;  // 0: no event yet
};
