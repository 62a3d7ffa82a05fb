// Watches the socket folder: a socket appearing is an arrival, one disappearing a removal,
// named with MakeInterfaceName from the ids the socket reports (kept for its removal).
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/hid/HidSeam.h"
#include "platform/hid/SocketWire.h"

namespace hid {
namespace {

constexpr int kInfoTimeoutMs = 500;
constexpr int kInfoRetryMs = 1000;

struct Ids {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int interfaceNumber = -1;
};

// "VID_xxxx&PID_xxxx&MI_xx" anywhere in a file name (any letter case).
std::optional<Ids> IdsFromName(const std::string& name)
{
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (size_t at = upper.find("VID_"); at != std::string::npos; at = upper.find("VID_", at + 1)) {
        unsigned vid = 0, pid = 0, mi = 0;
        if (std::sscanf(upper.c_str() + at, "VID_%4x&PID_%4x&MI_%2x", &vid, &pid, &mi) == 3) {
            return Ids{static_cast<uint16_t>(vid), static_cast<uint16_t>(pid),
                       mi == 0xFF ? -1 : static_cast<int>(mi)};
        }
    }
    return std::nullopt;
}

bool IsSocket(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

// The ids of a socket: asked of the socket itself (the server may not be listening yet, so
// for up to retryMs), else read from its file name.
std::optional<Ids> IdsOf(const std::string& path, int retryMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(retryMs);
    for (;;) {
        auto reply = wire::Transact(path, wire::kInfo, nullptr, 0, kInfoTimeoutMs);
        if (reply && reply->type == wire::kInfoReply) {
            if (auto d = wire::DecodeDescription(reply->payload)) {
                return Ids{d->info.vendorId, d->info.productId, d->info.interfaceNumber};
            }
            break;
        }
        if (std::chrono::steady_clock::now() >= until || !IsSocket(path)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return IdsFromName(std::filesystem::path(path).filename().string());
}

class SocketMonitor : public DeviceMonitor {
public:
    explicit SocketMonitor(std::string dir) : dir_(std::move(dir)) {}
    ~SocketMonitor() override { Stop(); }

    bool Start(Callback callback) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (thread_.joinable() || !callback) return false;
        std::error_code ec;
        std::filesystem::create_directories(dir_, ec);
        inotify_ = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        if (inotify_ < 0) return false;
        if (::inotify_add_watch(inotify_, dir_.c_str(),
                                IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM) < 0 ||
            ::pipe2(stopPipe_, O_CLOEXEC) != 0) {
            CloseFds();
            return false;
        }
        // The sockets present now, by name only (no server is asked here), so that a removal
        // coming at once is still named.
        std::vector<std::string> present;
        for (std::filesystem::directory_iterator it(dir_, ec), end; !ec && it != end;
             it.increment(ec)) {
            const auto& entry = *it;
            const std::string name = entry.path().filename().string();
            if (name.empty() || name[0] == '.' || !IsSocket(entry.path().string())) continue;
            present.push_back(name);
        }
        callback_ = std::move(callback);
        thread_ = std::thread([this, present = std::move(present)] {
            LearnIds(present);
            Loop();
        });
        return true;
    }

    void Stop() override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.joinable()) return;
        const char stop = 1;
        [[maybe_unused]] ssize_t n = ::write(stopPipe_[1], &stop, 1);
        thread_.join();
        CloseFds();
        known_.clear();
    }

private:
    void CloseFds()
    {
        for (int* fd : {&inotify_, &stopPipe_[0], &stopPipe_[1]}) {
            if (*fd >= 0) ::close(*fd);
            *fd = -1;
        }
    }

    // The ids of the sockets present at the start. Each server is asked, which may keep it
    // waiting: done on the monitor's thread, never its starter's, and before any event is read,
    // so that an event about one of them finds its ids (a socket gone meanwhile is known by its
    // name).
    void LearnIds(const std::vector<std::string>& present)
    {
        for (const std::string& name : present) {
            const std::string path = (std::filesystem::path(dir_) / name).string();
            if (auto ids = IdsOf(path, 0)) known_[name] = *ids;
        }
    }

    void Loop()
    {
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        for (;;) {
            pollfd fds[2] = {{inotify_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents != 0) return;
            const ssize_t n = ::read(inotify_, buffer, sizeof buffer);
            if (n <= 0) continue;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                if (event->len == 0 || event->name[0] == '.') continue;
                Handle(event->mask, event->name);
            }
        }
    }

    void Handle(uint32_t mask, const std::string& name)
    {
        const std::string path = (std::filesystem::path(dir_) / name).string();
        if (mask & (IN_CREATE | IN_MOVED_TO)) {
            if (!IsSocket(path)) return;
            const auto ids = IdsOf(path, kInfoRetryMs);
            if (!ids) return;
            known_[name] = *ids;
            callback_(true,
                      MakeInterfaceName(ids->vendorId, ids->productId, ids->interfaceNumber, path));
        } else if (mask & (IN_DELETE | IN_MOVED_FROM)) {
            const auto it = known_.find(name);
            if (it == known_.end()) return;
            const Ids ids = it->second;
            known_.erase(it);
            callback_(false,
                      MakeInterfaceName(ids.vendorId, ids.productId, ids.interfaceNumber, path));
        }
    }

    const std::string dir_;
    std::mutex mutex_;  // Start and Stop
    Callback callback_;
    std::map<std::string, Ids> known_;  // socket file name -> its ids
    int inotify_ = -1;
    int stopPipe_[2] = {-1, -1};
    std::thread thread_;
};

}  // namespace

std::unique_ptr<DeviceMonitor> MakeSocketMonitor(const std::string& socketDir)
{
    return std::make_unique<SocketMonitor>(socketDir);
}

}  // namespace hid
