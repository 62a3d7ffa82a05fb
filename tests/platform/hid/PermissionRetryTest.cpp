#include "platform/hid/PermissionRetry.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace std::chrono_literals;

TEST(PermissionRetry, OnlyPermissionFailuresAreTriedAgain)
{
    struct Case {
        const char* what;
        int opensOnAttempt;  // 0: never
        bool denied;
        int expectedAttempts;
        hid::OpenOutcome expected;
    };
    const Case cases[] = {
        {"opens at once", 1, true, 1, hid::OpenOutcome::kOpened},
        {"rights granted late", 3, true, 3, hid::OpenOutcome::kOpened},
        {"never granted", 0, true, 4, hid::OpenOutcome::kPermissionDenied},
        {"other failure", 0, false, 1, hid::OpenOutcome::kFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int attempts = 0;
        hid::OpenOutcome outcome = hid::OpenOutcome::kFailed;
        const auto start = std::chrono::steady_clock::now();
        std::unique_ptr<int> handle = hid::OpenWithPermissionRetry(
            [&] { return ++attempts == c.opensOnAttempt ? std::make_unique<int>(7) : nullptr; },
            [&] { return c.denied; }, outcome, 4, 5ms);
        EXPECT_EQ(attempts, c.expectedAttempts);
        EXPECT_EQ(outcome, c.expected);
        EXPECT_EQ(handle != nullptr, c.expected == hid::OpenOutcome::kOpened);
        EXPECT_GE(std::chrono::steady_clock::now() - start, (c.expectedAttempts - 1) * 5ms);
    }
}

}  // namespace
