#include "macros/StepDelayClock.h"

#include "macros/MacroSteps.h"

int StepDelayClock::Take(int64_t nowMs)
{
    int delay = 0;
    if (previousMs_ != 0) {
        const int64_t elapsed = nowMs - previousMs_;
        delay = elapsed < 0 || elapsed > kMacroMaxRecordedDelay ? kMacroMaxRecordedDelay
                                                                : static_cast<int>(elapsed);
    }
    // A clock that reads 0 would restart the count; it stands one tick later.
    previousMs_ = nowMs != 0 ? nowMs : 1;
    return delay;
}
