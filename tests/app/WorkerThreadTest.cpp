#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "app/CThreadBasic.h"
#include "app/CommandQueue.h"

namespace {

using Clock = std::chrono::steady_clock;

class RecordingThread : public CThreadBasic {
public:
    std::function<void(int)> step;
    std::mutex mutex;
    std::vector<Clock::time_point> starts;
    std::vector<Clock::time_point> ends;

    void Run() override
    {
        int n;
        {
            std::lock_guard<std::mutex> lock(mutex);
            n = static_cast<int>(starts.size());
            starts.push_back(Clock::now());
        }
        if (step) {
            step(n);
        }
        std::lock_guard<std::mutex> lock(mutex);
        ends.push_back(Clock::now());
    }

    size_t Steps()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return ends.size();
    }

    void StopAndWait()
    {
        running = 0;
        ASSERT_TRUE(stopEvent->Wait(5000));
    }
};

void WaitForSteps(RecordingThread& t, size_t n)
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (t.Steps() < n && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_GE(t.Steps(), n);
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

TEST(CThreadBasic, SecondStartIsRefusedWhileRunning)
{
    RecordingThread t;
    ASSERT_TRUE(t.Start());
    EXPECT_FALSE(t.Start());
    WaitForSteps(t, 2);
    t.StopAndWait();
    // After the stop the same object may run again.
    EXPECT_TRUE(t.Start());
    t.StopAndWait();
}

TEST(CThreadBasic, ShortStepsArePacedByThePeriod)
{
    RecordingThread t;
    ASSERT_TRUE(t.Start());
    t.period = 100;
    // Start paces by 10 ms: steps begun before the new period was set may still use that (a
    // loaded machine can run several before this thread goes on).
    const Clock::time_point set = Clock::now();
    WaitForSteps(t, t.Steps() + 5);
    t.StopAndWait();
    std::lock_guard<std::mutex> lock(t.mutex);
    // Each step begun after it starts at least a period after the one before.
    int checked = 0;
    for (size_t i = 1; i < t.starts.size(); ++i) {
        if (t.starts[i - 1] < set) continue;
        EXPECT_GE(Ms(t.starts[i] - t.starts[i - 1]), 95.0) << "step " << i;
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

TEST(CThreadBasic, ALongStepIsFollowedAtOnce)
{
    RecordingThread t;
    t.step = [](int n) {
        if (n == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
        }
    };
    ASSERT_TRUE(t.Start());
    t.period = 500;
    WaitForSteps(t, 3);
    t.StopAndWait();
    std::lock_guard<std::mutex> lock(t.mutex);
    // Step 1 overran the period: step 2 starts without a further pause (a pause would be 500 ms).
    EXPECT_LT(Ms(t.starts[2] - t.ends[1]), 250.0);
}

TEST(CThreadBasic, AWakeEndsThePauseAtOnce)
{
    RecordingThread t;
    ASSERT_TRUE(t.Start());
    t.period = 5000;
    t.Wake();            // whichever pause the first step began with ends
    WaitForSteps(t, 2);  // the second step's pause is a whole period
    Clock::time_point wokenAt;
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        wokenAt = Clock::now();
    }
    t.Wake();
    WaitForSteps(t, 3);
    t.running = 0;
    t.Wake();  // the stop, too, need not wait out the period
    ASSERT_TRUE(t.stopEvent->Wait(5000));
    std::lock_guard<std::mutex> lock(t.mutex);
    EXPECT_LT(Ms(t.starts[2] - wokenAt), 2500.0) << "not the rest of a 5000 ms period";
}

TEST(CThreadBasic, AStepWithNothingToDoRestsLongerUntilWoken)
{
    RecordingThread t;
    // The first steps ask for a rest far longer than the period.
    t.step = [&t](int n) {
        if (n >= 1) t.RestAfterStep(60000);
    };
    ASSERT_TRUE(t.Start());
    WaitForSteps(t, 2);
    // Resting: no step follows within many periods.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(t.Steps(), 2u);
    // New work wakes it at once; the rest applies to that one step only.
    t.step = nullptr;
    t.Wake();
    WaitForSteps(t, 5);
    t.StopAndWait();
}

TEST(CommandQueue, FirstInFirstOutAcrossThreads)
{
    CommandQueue queue;
    EXPECT_FALSE(queue.Pop().has_value());
    constexpr int kPerThread = 5000;
    std::thread a([&] {
        for (int i = 0; i < kPerThread; ++i) queue.Push(i);
    });
    std::thread b([&] {
        for (int i = 0; i < kPerThread; ++i) queue.Push(100000 + i);
    });
    std::vector<int> taken;
    while (taken.size() < 2 * kPerThread) {
        if (auto code = queue.Pop()) taken.push_back(*code);
    }
    a.join();
    b.join();
    EXPECT_TRUE(queue.Empty());
    // Each producer's codes come out in the order it put them in.
    int nextA = 0, nextB = 100000;
    for (int code : taken) {
        if (code < 100000) {
            EXPECT_EQ(code, nextA++);
        } else {
            EXPECT_EQ(code, nextB++);
        }
    }
    EXPECT_EQ(nextA, kPerThread);
    EXPECT_EQ(nextB, 100000 + kPerThread);
}

TEST(CommandQueue, PopIfTakesOnlyAFrontCodeThatQualifies)
{
    CommandQueue queue;
    const auto even = [](int code) { return code % 2 == 0; };
    EXPECT_FALSE(queue.PopIf(even).has_value());
    for (int code : {2, 4, 5, 6}) queue.Push(code);
    EXPECT_EQ(queue.PopIf(even), 2);
    EXPECT_EQ(queue.PopIf(even), 4);
    // 5 does not qualify: it and everything behind it keep their places.
    EXPECT_FALSE(queue.PopIf(even).has_value());
    EXPECT_EQ(queue.Pop(), 5);
    EXPECT_EQ(queue.Pop(), 6);
    EXPECT_TRUE(queue.Empty());
}

}  // namespace
