// Posted and sent window messages and window timers across threads.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "ControlHarness.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowServices.h"

namespace {

using muitest::PumpUntil;

constexpr UINT kTestMessage = WM_USER + 7;

class ThreadRecorder : public MUI::MDialog {
public:
    struct Seen {
        WPARAM wParam;
        std::thread::id thread;
    };
    std::mutex mutex;
    std::vector<Seen> messages;
    std::vector<Seen> ticks;

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kTestMessage) return MDialog::OnWindowMessage(message, wParam, lParam);
        std::lock_guard lock(mutex);
        messages.push_back(Seen{wParam, std::this_thread::get_id()});
        return static_cast<LRESULT>(wParam * 10 + lParam);
    }
    void OnTimer(unsigned id) override
    {
        std::lock_guard lock(mutex);
        ticks.push_back(Seen{id, std::this_thread::get_id()});
    }
    size_t Count(const std::vector<Seen>& list)
    {
        std::lock_guard lock(mutex);
        return list.size();
    }
};

class WindowMessageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MUI::EnsureApplication();
        hwnd = window.Create(nullptr, L"Recorder", WS_POPUP, 0, RECT{0, 0, 100, 100});
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override
    {
        window.DestroyWindow();
        muitest::Pump();
    }
    ThreadRecorder window;
    HWND hwnd = nullptr;
    const std::thread::id ui = std::this_thread::get_id();
};

TEST_F(WindowMessageTest, PostedAndSentMessagesFromAWorkerRunOnTheUiThreadInOrder)
{
    constexpr int kCount = 60;
    std::vector<LRESULT> sendResults;
    std::thread worker([&] {
        for (int i = 0; i < kCount; ++i) {
            if (i % 10 == 5)
                sendResults.push_back(MUI::SendMessage(hwnd, kTestMessage, i, 3));
            else
                MUI::PostMessage(hwnd, kTestMessage, i, 0);
        }
    });
    ASSERT_TRUE(PumpUntil([&] { return window.Count(window.messages) == kCount; }));
    worker.join();
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(window.messages[i].wParam, static_cast<WPARAM>(i));
        EXPECT_EQ(window.messages[i].thread, ui);
    }
    ASSERT_EQ(sendResults.size(), 6u);
    for (size_t k = 0; k < sendResults.size(); ++k)
        EXPECT_EQ(sendResults[k], static_cast<LRESULT>((k * 10 + 5) * 10 + 3));
}

TEST_F(WindowMessageTest, SendOnTheUiThreadRunsAtOnce)
{
    EXPECT_EQ(MUI::SendMessage(hwnd, kTestMessage, 4, 2), 42);
    ASSERT_EQ(window.messages.size(), 1u);
}

TEST_F(WindowMessageTest, MessagesToAGoneWindowAreDropped)
{
    ASSERT_TRUE(MUI::PostMessage(hwnd, kTestMessage, 1, 0));
    window.DestroyWindow();
    muitest::Pump();
    EXPECT_TRUE(window.messages.empty());
    EXPECT_FALSE(MUI::PostMessage(hwnd, kTestMessage, 2, 0));
    EXPECT_EQ(MUI::SendMessage(hwnd, kTestMessage, 3, 0), 0);
}

TEST_F(WindowMessageTest, TimersFireOnTheUiThreadAndStopAfterKillTimer)
{
    std::thread([&] { EXPECT_TRUE(window.SetTimer(300, 10)); }).join();
    ASSERT_TRUE(PumpUntil([&] { return window.Count(window.ticks) >= 3; }));
    std::thread([&] { EXPECT_TRUE(MUI::KillTimer(hwnd, 300)); }).join();
    const size_t afterKill = window.Count(window.ticks);
    PumpUntil([] { return false; }, 120);
    EXPECT_EQ(window.Count(window.ticks), afterKill);
    for (const auto& tick : window.ticks) {
        EXPECT_EQ(tick.wParam, 300u);
        EXPECT_EQ(tick.thread, ui);
    }
    EXPECT_FALSE(window.KillTimer(300));
}

TEST_F(WindowMessageTest, TimersStopWithTheWindow)
{
    ASSERT_TRUE(window.SetTimer(1, 5));
    ASSERT_TRUE(PumpUntil([&] { return window.Count(window.ticks) >= 1; }));
    window.DestroyWindow();
    const size_t atDestroy = window.Count(window.ticks);
    PumpUntil([] { return false; }, 60);
    EXPECT_EQ(window.Count(window.ticks), atDestroy);
    EXPECT_FALSE(window.SetTimer(1, 5));
}

}  // namespace
