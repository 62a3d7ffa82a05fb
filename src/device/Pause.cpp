#include "device/Pause.h"

#include <sys/prctl.h>
#include <time.h>

#include <cerrno>

void PauseMs(int milliseconds)
{
    if (milliseconds <= 0) return;
    // The default timer slack (50 us) would add up over the many short pauses of a transfer.
    thread_local const bool fineSlack = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    (void)fineSlack;
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_nsec -= 1000000000L;
        ++deadline.tv_sec;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}
