#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/SingleInstance.h"

namespace {

// Runs the event loop until the predicate holds or the time is up.
template <typename Pred>
bool SpinUntil(Pred pred, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return pred();
}

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstEnds)
{
    auto first = std::make_unique<os::SingleInstance>(L"LockTest");
    ASSERT_TRUE(first->Acquire());
    EXPECT_TRUE(first->Acquire()) << "asking again keeps the lock";
    os::SingleInstance second(L"LockTest");
    EXPECT_FALSE(second.Acquire());
    first.reset();
    EXPECT_TRUE(second.Acquire());
}

TEST(SingleInstance, UnusableLockFileRefusesWithAReason)
{
    os::SingleInstance blocked(L"BlockedLockTest");
    // A folder where the lock file should be: it can be neither opened nor locked.
    std::filesystem::create_directories(blocked.LockPath());
    EXPECT_FALSE(blocked.Acquire());
    EXPECT_NE(blocked.LockError().find(blocked.LockPath()), std::string::npos);
    EXPECT_FALSE(blocked.Listen([](const std::string&) {}));
    std::filesystem::remove(blocked.LockPath());
    EXPECT_TRUE(blocked.Acquire());
    EXPECT_TRUE(blocked.LockError().empty());
}

TEST(SingleInstance, CommandsReachTheFirstInstanceLineByLine)
{
    os::SingleInstance first(L"SocketTest");
    ASSERT_TRUE(first.Acquire());
    // A socket file left by a crashed instance must not stop the new one.
    std::ofstream(first.SocketPath()) << "stale";
    std::vector<std::string> received;
    ASSERT_TRUE(first.Listen([&](const std::string& line) { received.push_back(line); }));

    EXPECT_TRUE(os::SendInstanceCommand(L"SocketTest", "show"));
    std::thread sender([] { os::SendInstanceCommand(L"SocketTest", "exit 610"); });
    ASSERT_TRUE(SpinUntil([&] { return received.size() == 2; }));
    sender.join();
    std::sort(received.begin(), received.end());
    EXPECT_EQ(received, (std::vector<std::string>{"exit 610", "show"}));
}

TEST(SingleInstance, SendingWithNoInstanceFailsAfterTheTimeout)
{
    EXPECT_FALSE(os::SendInstanceCommand(L"NobodyListens", "show", 100));
}

TEST(SingleInstance, ListeningNeedsTheLock)
{
    os::SingleInstance first(L"ListenTest");
    ASSERT_TRUE(first.Acquire());
    os::SingleInstance second(L"ListenTest");
    ASSERT_FALSE(second.Acquire());
    EXPECT_FALSE(second.Listen([](const std::string&) {}));
}

}  // namespace
