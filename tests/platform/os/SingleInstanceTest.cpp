#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
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

sockaddr_un AddressOf(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

// A client of the instance socket that sends whatever bytes it is given.
class RawClient {
public:
    explicit RawClient(const std::string& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0))
    {
        const sockaddr_un address = AddressOf(path);
        connected_ = connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { Close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool Connected() const { return connected_; }
    bool Send(const std::string& bytes)
    {
        return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }
    void Close()
    {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    // true once the instance has closed its end.
    bool Dropped() const
    {
        char byte;
        const ssize_t n = recv(fd_, &byte, 1, MSG_DONTWAIT);
        return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
    }

private:
    int fd_;
    bool connected_ = false;
};

TEST(SingleInstance, ConnectionBytesAreCutIntoLines)
{
    struct Case {
        const char* what;
        std::vector<std::string> writes;  // sent one by one, then the client closes
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"several lines in one write",
         {"show\nexit 610\r\n\nclick main 55 1\n"},
         {"show", "exit 610", "", "click main 55 1"}},
        {"a line split across writes", {"sh", "ow\nex", "it 1\n"}, {"show", "exit 1"}},
        {"a last line without a line break", {"show\nexit 610"}, {"show", "exit 610"}},
    };
    os::SingleInstance first(L"LinesTest");
    ASSERT_TRUE(first.Acquire());
    std::vector<std::string> received;
    ASSERT_TRUE(first.Listen([&](const std::string& line) { received.push_back(line); }));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        received.clear();
        RawClient client(first.SocketPath());
        ASSERT_TRUE(client.Connected());
        for (const std::string& bytes : c.writes) {
            ASSERT_TRUE(client.Send(bytes));
            SpinUntil([] { return false; }, 50);
        }
        client.Close();
        EXPECT_TRUE(SpinUntil([&] { return received.size() >= c.lines.size(); }));
        SpinUntil([] { return false; }, 50);
        EXPECT_EQ(received, c.lines);
    }
}

TEST(SingleInstance, OverlongLineDropsItsConnectionButNotTheListener)
{
    os::SingleInstance first(L"OverlongTest");
    ASSERT_TRUE(first.Acquire());
    std::vector<std::string> received;
    ASSERT_TRUE(first.Listen([&](const std::string& line) { received.push_back(line); }));
    RawClient garbage(first.SocketPath());
    ASSERT_TRUE(garbage.Send("show\n" + std::string(70 * 1024, 'x')));
    ASSERT_TRUE(SpinUntil([&] { return garbage.Dropped(); }));
    garbage.Close();

    EXPECT_TRUE(os::SendInstanceCommand(L"OverlongTest", "exit 610"));
    ASSERT_TRUE(SpinUntil([&] { return received.size() == 2; }));
    SpinUntil([] { return false; }, 50);
    EXPECT_EQ(received, (std::vector<std::string>{"show", "exit 610"}));
}

TEST(SingleInstance, SocketLeftByACrashedInstanceIsReplaced)
{
    auto first = std::make_unique<os::SingleInstance>(L"StaleTest");
    ASSERT_TRUE(first->Acquire());
    const std::string path = first->SocketPath();
    {
        // Bound and never unlinked, as by an instance that died: nobody listens there.
        const int crashed = socket(AF_UNIX, SOCK_STREAM, 0);
        const sockaddr_un address = AddressOf(path);
        ASSERT_EQ(bind(crashed, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        close(crashed);
    }
    std::vector<std::string> received;
    ASSERT_TRUE(first->Listen([&](const std::string& line) { received.push_back(line); }));
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u) << "only this user may connect";

    EXPECT_TRUE(os::SendInstanceCommand(L"StaleTest", "show"));
    EXPECT_TRUE(SpinUntil([&] { return received.size() == 1; }));
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(path)) << "the socket goes with its instance";
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
