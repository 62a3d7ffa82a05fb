#include "SocketServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/hid/SocketWire.h"

namespace vkb {
namespace {

constexpr int kPollMs = 10;
constexpr int kPumpWaitMs = 100;
constexpr size_t kReportBufferSize = 1024;

int Listen(const std::string& tempPath, const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (tempPath.size() >= sizeof address.sun_path || path.size() >= sizeof address.sun_path) {
        return -1;
    }
    std::memcpy(address.sun_path, tempPath.c_str(), tempPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    ::unlink(tempPath.c_str());
    // Bound and listening under a hidden name first, so the socket is ready when it appears.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 16) != 0 || ::rename(tempPath.c_str(), path.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        ::close(fd);
        return -1;
    }
    return fd;
}

hid::wire::InterfaceDescription Describe(const InterfaceSpec& iface)
{
    hid::wire::InterfaceDescription d;
    d.info = iface.info;
    d.inputReportLength = iface.inputReportLength;
    d.outputReportLength = iface.outputReportLength;
    return d;
}

}  // namespace

struct SocketServer::Connection {
    int fd = -1;
    size_t interfaceIndex = 0;
    uint64_t generation = 0;
    std::shared_ptr<Port> port;
    std::mutex sendMutex;
    std::atomic<bool> closing{false};
    std::atomic<bool> done{false};
    std::thread serveThread;
    std::thread pumpThread;

    bool Send(uint8_t type, const void* payload, size_t length)
    {
        std::lock_guard<std::mutex> lock(sendMutex);
        return hid::wire::SendMessage(fd, type, payload, length);
    }
    bool SendText(uint8_t type, const std::string& text)
    {
        return Send(type, text.data(), text.size());
    }
};

SocketServer::SocketServer(std::shared_ptr<VirtualDevice> device, std::string dir, std::string name)
    : device_(std::move(device)), dir_(std::move(dir)), name_(std::move(name))
{
}

SocketServer::~SocketServer() { Stop(); }

bool SocketServer::Start()
{
    if (running_) return false;
    std::error_code ec;
    std::filesystem::create_directories(dir_, ec);
    if (::pipe2(stopPipe_, O_CLOEXEC) != 0) return false;
    generation_ = device_->Generation();
    plugged_ = device_->Plugged();
    if (plugged_ && !CreateListeners(generation_)) {
        RemoveListeners();
        ::close(stopPipe_[0]);
        ::close(stopPipe_[1]);
        stopPipe_[0] = stopPipe_[1] = -1;
        return false;
    }
    running_ = true;
    thread_ = std::thread([this] { Loop(); });
    return true;
}

void SocketServer::Stop()
{
    if (!running_) return;
    running_ = false;
    const char stop = 1;
    [[maybe_unused]] ssize_t n = ::write(stopPipe_[1], &stop, 1);
    thread_.join();
    RemoveListeners();
    ReapConnections(true);
    ::close(stopPipe_[0]);
    ::close(stopPipe_[1]);
    stopPipe_[0] = stopPipe_[1] = -1;
}

std::vector<std::string> SocketServer::SocketPaths()
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> paths;
    for (const auto& l : listeners_) paths.push_back(l.path);
    return paths;
}

bool SocketServer::CreateListeners(uint64_t generation)
{
    const auto interfaces = device_->Interfaces();
    if (device_->Generation() != generation) return true;  // changed again: next round
    std::lock_guard<std::mutex> lock(mutex_);
    for (size_t i = 0; i < interfaces.size(); ++i) {
        const auto& info = interfaces[i].info;
        Listener listener;
        listener.interfaceIndex = i;
        listener.path =
            (std::filesystem::path(dir_) /
             (name_ + "-" +
              hid::wire::InterfaceName(info.vendorId, info.productId, info.interfaceNumber)))
                .string();
        const std::string temp =
            (std::filesystem::path(dir_) / ("." + name_ + "-" + std::to_string(i))).string();
        listener.fd = Listen(temp, listener.path);
        if (listener.fd < 0) return false;
        listeners_.push_back(listener);
    }
    return true;
}

void SocketServer::RemoveListeners()
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& l : listeners_) {
        ::unlink(l.path.c_str());
        ::close(l.fd);
    }
    listeners_.clear();
}

void SocketServer::Loop()
{
    while (running_) {
        std::vector<pollfd> fds{{stopPipe_[0], POLLIN, 0}};
        std::vector<Listener> listeners;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            listeners = listeners_;
        }
        for (const auto& l : listeners) fds.push_back({l.fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), kPollMs) > 0) {
            if (fds[0].revents != 0) break;
            for (size_t i = 1; i < fds.size(); ++i) {
                if ((fds[i].revents & POLLIN) == 0) continue;
                const int fd = ::accept4(listeners[i - 1].fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd < 0) continue;
                auto connection = std::make_unique<Connection>();
                connection->fd = fd;
                connection->interfaceIndex = listeners[i - 1].interfaceIndex;
                connection->generation = generation_;
                Connection& c = *connection;
                std::lock_guard<std::mutex> lock(mutex_);
                connections_.push_back(std::move(connection));
                c.serveThread = std::thread([this, &c] { Serve(c); });
            }
        }
        device_->Poll();
        const uint64_t generation = device_->Generation();
        const bool plugged = device_->Plugged();
        if (generation != generation_ || plugged != plugged_) {
            RemoveListeners();
            generation_ = generation;
            plugged_ = plugged;
            if (plugged_) CreateListeners(generation_);
        }
        ReapConnections(false);
    }
}

void SocketServer::Serve(Connection& c)
{
    namespace wire = hid::wire;
    wire::MessageReader reader;
    const auto describe = [&]() -> std::optional<wire::InterfaceDescription> {
        const auto interfaces = device_->Interfaces();
        if (device_->Generation() != c.generation || c.interfaceIndex >= interfaces.size()) {
            return std::nullopt;
        }
        return Describe(interfaces[c.interfaceIndex]);
    };
    while (auto message = wire::ReceiveMessage(c.fd, reader, -1)) {
        const auto& payload = message->payload;
        switch (message->type) {
            case wire::kInfo: {
                const auto description = describe();
                if (!description) {
                    c.SendText(wire::kError, "interface not available");
                    break;
                }
                const auto bytes = wire::EncodeDescription(*description);
                c.Send(wire::kInfoReply, bytes.data(), bytes.size());
                break;
            }
            case wire::kOpen: {
                const auto description = describe();
                if (c.port || !description) {
                    c.SendText(wire::kError, "interface not available");
                    break;
                }
                c.port = device_->Open(c.interfaceIndex, c.generation);
                if (!c.port && device_->RefusesOpen()) {
                    c.Send(wire::kRefused, nullptr, 0);
                    break;
                }
                if (!c.port) {
                    c.SendText(wire::kError, "interface not available");
                    break;
                }
                const auto bytes = wire::EncodeDescription(*description);
                c.Send(wire::kOpened, bytes.data(), bytes.size());
                c.pumpThread = std::thread([this, &c] { Pump(c); });
                break;
            }
            case wire::kWrite: {
                const int result = c.port && !payload.empty()
                                       ? device_->Write(*c.port, payload.data(), payload.size())
                                       : -1;
                uint8_t bytes[4];
                for (int i = 0; i < 4; ++i) {
                    bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(result) >> (8 * i));
                }
                c.Send(wire::kWritten, bytes, sizeof bytes);
                break;
            }
            case wire::kState:
                if (stateHandler_) {
                    c.SendText(wire::kStateReply, stateHandler_());
                } else {
                    c.SendText(wire::kError, "no state");
                }
                break;
            case wire::kControl:
                if (controlHandler_) {
                    c.SendText(wire::kControlReply,
                               controlHandler_(std::string(payload.begin(), payload.end())));
                } else {
                    c.SendText(wire::kError, "no control");
                }
                break;
            default:
                c.SendText(wire::kError, "unknown message");
                break;
        }
    }
    c.closing = true;
    if (c.port) device_->Close(*c.port);
    if (c.pumpThread.joinable()) c.pumpThread.join();
    ::shutdown(c.fd, SHUT_RDWR);
    c.done = true;
}

void SocketServer::Pump(Connection& c)
{
    std::vector<uint8_t> buffer(kReportBufferSize);
    while (!c.closing) {
        const int n = device_->Read(*c.port, buffer.data(), buffer.size(), kPumpWaitMs);
        if (n > 0) {
            c.Send(hid::wire::kInput, buffer.data(), static_cast<size_t>(n));
        } else if (n < 0) {
            // The interface is gone: the client learns it from the end of the stream.
            ::shutdown(c.fd, SHUT_RDWR);
            return;
        }
    }
}

void SocketServer::ReapConnections(bool all)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
        Connection& c = **it;
        if (!all && !c.done) {
            ++it;
            continue;
        }
        ::shutdown(c.fd, SHUT_RDWR);
        c.serveThread.join();
        ::close(c.fd);
        it = connections_.erase(it);
    }
}

}  // namespace vkb
