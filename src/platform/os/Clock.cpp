#include "platform/os/Clock.h"

#include <chrono>
#include <thread>

namespace os {

std::uint64_t MonotonicMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint32_t TickCount() { return static_cast<std::uint32_t>(MonotonicMs()); }

void SleepMs(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace os
