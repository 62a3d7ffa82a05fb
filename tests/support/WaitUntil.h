// Polls a condition until it holds or the time limit passes: the bounded wait of the tests that
// watch another thread or process.
#pragma once

#include <chrono>
#include <thread>

namespace testsupport {

template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace testsupport
