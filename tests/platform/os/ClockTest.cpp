#include <gtest/gtest.h>

#include "platform/os/Clock.h"

TEST(Clock, SleepAdvancesTheMonotonicClockAndTickCountFollowsIt)
{
    const std::uint64_t before = os::MonotonicMs();
    os::SleepMs(30);
    const std::uint64_t after = os::MonotonicMs();
    EXPECT_GE(after - before, 30u);
    const std::uint32_t sinceAfter = os::TickCount() - static_cast<std::uint32_t>(after);
    EXPECT_LT(sinceAfter, 10000u);
}
