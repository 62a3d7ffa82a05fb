// A socket server that confirms a write late: the write fails for its caller, the handle goes on
// serving, and the late confirmation is never taken for a later write's. An empty input message
// on the way is passed over.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <thread>
#include <vector>

#include "platform/hid/HidSeam.h"
#include "platform/hid/SocketWire.h"

namespace {

namespace wire = hid::wire;

// Serves one connection as one 65 / 65 interface. Every write is confirmed with its number
// (101 for the first, 102 for the next, ...); the first one only once Release is called.
// After the second write an empty input message and then an input report follow its
// confirmation.
class SlowServer {
public:
    explicit SlowServer(const std::string& path)
    {
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        listening_ =
            ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            ::listen(listener_, 1) == 0;
        if (listening_)
            thread_ = std::thread([this, held = release_.get_future()] { Serve(held); });
    }
    ~SlowServer()
    {
        if (!released_) release_.set_value();
        ::shutdown(listener_, SHUT_RDWR);
        if (connection_ >= 0) ::shutdown(connection_, SHUT_RDWR);
        if (thread_.joinable()) thread_.join();
        if (connection_ >= 0) ::close(connection_);
        ::close(listener_);
    }
    bool Listening() const { return listening_; }
    void Release()
    {
        released_ = true;
        release_.set_value();
    }

private:
    void Serve(const std::future<void>& held)
    {
        connection_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection_ < 0) return;
        wire::MessageReader reader;
        int32_t written = 100;
        while (auto message = wire::ReceiveMessage(connection_, reader, -1)) {
            if (message->type == wire::kOpen) {
                wire::InterfaceDescription description;
                description.inputReportLength = 65;
                description.outputReportLength = 65;
                const auto bytes = wire::EncodeDescription(description);
                wire::SendMessage(connection_, wire::kOpened, bytes.data(), bytes.size());
            } else if (message->type == wire::kWrite) {
                ++written;
                if (written == 101) held.wait();
                uint8_t result[4];
                for (int i = 0; i < 4; ++i) result[i] = static_cast<uint8_t>(written >> (8 * i));
                wire::SendMessage(connection_, wire::kWritten, result, sizeof result);
                if (written == 102) {
                    // An input message without a report comes first: nothing to read.
                    wire::SendMessage(connection_, wire::kInput, nullptr, 0);
                    std::vector<uint8_t> input(65, 0);
                    input[1] = 0xA0;
                    wire::SendMessage(connection_, wire::kInput, input.data(), input.size());
                }
            }
        }
    }

    std::promise<void> release_;
    bool released_ = false;
    int listener_ = -1;
    std::atomic<int> connection_{-1};
    bool listening_ = false;
    std::thread thread_;
};

TEST(SocketWrite, ALateConfirmationFailsOnlyItsOwnWrite)
{
    char name[] = "/tmp/tvwrite.XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const std::string folder = name;
    const std::string path = folder + "/slow-VID_3B6D&PID_FD70&MI_01";
    {
        SlowServer server(path);
        ASSERT_TRUE(server.Listening());
        // Long enough for a prompt confirmation on a loaded machine; the first write waits it
        // out whole.
        constexpr int kWriteTimeoutMs = 2000;
        const auto backend = hid::MakeSocketBackend(folder, kWriteTimeoutMs);
        const auto device = backend->Open(path);
        ASSERT_NE(device, nullptr);
        const std::vector<uint8_t> report(65, 0x55);

        EXPECT_EQ(device->Write(report.data(), report.size()), -1) << "not confirmed in time";
        server.Release();  // its confirmation, 101, now comes late
        EXPECT_EQ(device->Write(report.data(), report.size()), 102) << "the handle still writes";
        std::vector<uint8_t> input(65, 0);
        EXPECT_EQ(device->Read(input.data(), input.size(), 30000), 65) << "and reads";
        EXPECT_EQ(input[1], 0xA0);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
