// A socket that listens but never accepts must not stop whoever connects to it.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid/HidSeam.h"
#include "platform/hid/SocketWire.h"

namespace {

using namespace std::chrono_literals;

// A listening Unix socket whose queue is full: further connections can only wait.
class StuckServer {
public:
    explicit StuckServer(const std::string& path) : path_(path)
    {
        listener_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        const auto* raw = reinterpret_cast<const sockaddr*>(&address);
        if (::bind(listener_, raw, sizeof address) != 0 || ::listen(listener_, 0) != 0) return;
        for (int i = 0; i < 64; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            if (::connect(fd, raw, sizeof address) != 0) {
                ::close(fd);
                full_ = true;
                break;
            }
            queued_.push_back(fd);
        }
    }
    ~StuckServer() { Stop(); }
    bool Full() const { return full_; }
    // Ends the server: a connection still waiting fails then.
    void Stop()
    {
        for (const int fd : queued_) ::close(fd);
        queued_.clear();
        if (listener_ >= 0) ::close(listener_);
        listener_ = -1;
    }

private:
    std::string path_;
    int listener_ = -1;
    bool full_ = false;
    std::vector<int> queued_;
};

// A socket folder holding one stuck server.
class SocketConnect : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/tvsock.XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        path = folder + "/stuck";
        server = std::make_unique<StuckServer>(path);
        ASSERT_TRUE(server->Full());
    }
    void TearDown() override
    {
        server.reset();
        std::filesystem::remove_all(folder);
    }

    std::string folder;
    std::string path;
    std::unique_ptr<StuckServer> server;
};

TEST_F(SocketConnect, AServerThatNeverAcceptsIsGivenUpAfterTheTimeOut)
{
    const auto backend = hid::MakeSocketBackend(folder);
    auto attempt = std::async(std::launch::async, [&] {
        const int fd = hid::wire::ConnectSocket(path);
        if (fd >= 0) ::close(fd);
        const bool opened = backend->Open(path) != nullptr;
        return fd < 0 && !opened && backend->Enumerate().empty();
    });
    const bool finished = attempt.wait_for(30s) == std::future_status::ready;
    server->Stop();  // frees an attempt that is still waiting
    EXPECT_TRUE(finished) << "connecting waited for the server without end";
    EXPECT_TRUE(attempt.get());
}

TEST_F(SocketConnect, TheFolderMonitorStartsWithoutWaitingForAServer)
{
    // Asking a stuck server for its ids takes the connect's time-out: the monitor's thread
    // does that, not the one starting it (the window's). With this many stuck servers a Start
    // that asked them itself would take ten seconds, far beyond any slowness of the machine.
    constexpr int kStuckServers = 20;
    std::vector<std::unique_ptr<StuckServer>> more;
    for (int i = 0; i < kStuckServers - 1; ++i) {
        more.push_back(std::make_unique<StuckServer>(folder + "/stuck" + std::to_string(i)));
        ASSERT_TRUE(more.back()->Full());
    }
    static_assert(kStuckServers * hid::wire::kConnectTimeoutMs >= 10000);
    const auto monitor = hid::MakeSocketMonitor(folder);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(monitor->Start([](bool, const std::wstring&) {}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    // Freed servers refuse at once, so the monitor's thread ends its questions quickly.
    server->Stop();
    more.clear();
    monitor->Stop();
}

}  // namespace
