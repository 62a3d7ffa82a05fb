#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/hid/HidSeam.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(HidapiBackend, MissingPathFailsAtOnceWithAReason)
{
    const auto backend = hid::MakeHidapiBackend();
    const auto start = Clock::now();
    EXPECT_EQ(backend->Open("/dev/hidraw-not-there"), nullptr);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(300));  // no permission retries
    EXPECT_NE(backend->LastError().find("/dev/hidraw-not-there"), std::string::npos);
    for (const hid::HidDeviceInfo& info : backend->Enumerate(0xFFFF, 0xFFFE)) {
        EXPECT_EQ(info.vendorId, 0xFFFF);  // the filter holds
    }
}

// hidapi's process-wide error string is replaced by every enumeration and failed open; threads
// doing both at once must never free it twice (AddressSanitizer stops the test if they do).
TEST(HidapiBackend, EnumerationsAndOpensFromManyThreadsAtOnce)
{
    const auto backend = hid::MakeHidapiBackend();
    const auto until = Clock::now() + std::chrono::milliseconds(400);
    std::atomic<int> failedOpens{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&backend, &failedOpens, until, t] {
            while (Clock::now() < until) {
                if (t % 2 == 0) {
                    backend->Enumerate();
                } else if (backend->Open("/dev/hidraw-not-there") == nullptr) {
                    ++failedOpens;
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_GT(failedOpens.load(), 0);
    EXPECT_NE(backend->LastError().find("/dev/hidraw-not-there"), std::string::npos);
}

TEST(UdevMonitor, StopsPromptlyWhetherOrNotUdevIsThere)
{
    auto monitor = hid::MakeUdevMonitor();
    const bool started = monitor->Start([](bool, const std::wstring&) {});
    EXPECT_FALSE(started && monitor->Start([](bool, const std::wstring&) {}));  // once only
    const auto start = Clock::now();
    monitor->Stop();
    monitor->Stop();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(monitor->Start(nullptr));
}

}  // namespace
