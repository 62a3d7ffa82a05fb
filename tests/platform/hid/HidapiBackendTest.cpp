#include <gtest/gtest.h>

#include <chrono>

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
