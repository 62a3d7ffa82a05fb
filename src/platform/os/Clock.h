// Monotonic clock and sleeping.
#pragma once

#include <cstdint>

namespace os {

// Milliseconds of a monotonic clock (since boot); never goes back.
std::uint64_t MonotonicMs();
// The same clock cut to 32 bits, wrapping after about 49.7 days, like GetTickCount.
std::uint32_t TickCount();
// Blocks the calling thread for at least ms milliseconds.
void SleepMs(unsigned ms);

}  // namespace os
