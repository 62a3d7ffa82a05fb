#include "platform/os/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QObject>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include "platform/os/Clock.h"
#include "platform/os/XdgPaths.h"

namespace os {
namespace {

// Empty without a runtime folder that is safe to use.
std::string BasePath(const std::wstring& name)
{
    const std::string folder = RuntimeDir();
    return folder.empty() ? std::string() : folder + "/" + SafeFileName(name);
}

// A connection holding more than this without a line break sends garbage: it is dropped.
constexpr std::size_t kMaxPendingLine = 64 * 1024;

// false when the path does not fit a Unix socket address.
bool ToAddress(const std::string& path, sockaddr_un& address)
{
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// A non-blocking listening socket at the path that only this user may connect to; -1 when
// there can be none.
int ListenAt(const std::string& path)
{
    sockaddr_un address;
    if (!ToAddress(path, address)) {
        return -1;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    if (chmod(path.c_str(), S_IRWXU) != 0 || listen(fd, SOMAXCONN) != 0) {
        close(fd);
        unlink(path.c_str());
        return -1;
    }
    return fd;
}

// One accepted connection: the bytes after its last line break, until the peer closes.
struct Connection {
    explicit Connection(int descriptor) : fd(descriptor) {}
    ~Connection() { Close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Close()
    {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }

    int fd;
    std::string pending;
};

// Reads what the peer has sent and hands over each complete line; what is left when the peer
// closes counts as a last line. false when the connection is done with: closed, failed, or
// holding an overlong line.
bool ReadLines(Connection& connection, const std::function<void(std::string)>& take)
{
    char chunk[4096];
    ssize_t n;
    do {
        n = read(connection.fd, chunk, sizeof chunk);
    } while (n < 0 && errno == EINTR);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return true;
    }
    if (n <= 0) {
        if (!connection.pending.empty()) {
            take(std::move(connection.pending));
        }
        return false;
    }
    std::string& pending = connection.pending;
    pending.append(chunk, static_cast<std::size_t>(n));
    std::size_t from = 0;
    for (std::size_t nl; (nl = pending.find('\n', from)) != std::string::npos; from = nl + 1) {
        std::size_t end = nl;
        if (end > from && pending[end - 1] == '\r') {
            --end;
        }
        take(pending.substr(from, end - from));
    }
    pending.erase(0, from);
    return pending.size() <= kMaxPendingLine;
}

bool WriteAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

// The listening socket and its connections, served on the thread that called Listen. The
// connections' notifiers are its children. Commands run from the event loop, in the order the
// lines came, never inside a notifier's signal: a command may run a modal loop, in which its
// connection can close.
class SingleInstance::Server : public QObject {
public:
    Server(int fd, std::string path, std::function<void(const std::string&)> onCommand)
        : fd_(fd),
          path_(std::move(path)),
          onCommand_(std::move(onCommand)),
          notifier_(fd, QSocketNotifier::Read)
    {
        QObject::connect(&notifier_, &QSocketNotifier::activated, this, [this] { Accept(); });
    }

    ~Server() override
    {
        notifier_.setEnabled(false);
        close(fd_);
        unlink(path_.c_str());
    }

    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

private:
    void Accept()
    {
        for (;;) {
            const int fd = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd >= 0) {
                Serve(fd);
            } else if (errno != EINTR && errno != ECONNABORTED) {
                return;  // none left (or none to be had now: the next wake-up tries again)
            }
        }
    }

    void Serve(int fd)
    {
        auto connection = std::make_shared<Connection>(fd);
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        std::function<void(std::string)> take = [this](std::string line) {
            QMetaObject::invokeMethod(
                this, [this, line = std::move(line)] { onCommand_(line); }, Qt::QueuedConnection);
        };
        // The notifier's deletion takes the connection along.
        QObject::connect(notifier, &QSocketNotifier::activated, this, [notifier, connection, take] {
            if (!ReadLines(*connection, take)) {
                notifier->setEnabled(false);
                connection->Close();
                notifier->deleteLater();
            }
        });
    }

    int fd_;
    std::string path_;
    std::function<void(const std::string&)> onCommand_;
    QSocketNotifier notifier_;
};

SingleInstance::SingleInstance(const std::wstring& name)
{
    const std::string base = BasePath(name);
    if (!base.empty()) {
        lockPath_ = base + ".lock";
        socketPath_ = base + ".sock";
    }
}

SingleInstance::~SingleInstance()
{
    server_.reset();
    if (lockFd_ >= 0) {
        close(lockFd_);  // releases the lock
    }
}

bool SingleInstance::Acquire()
{
    if (owner_) {
        return true;
    }
    // Close-on-exec: a program this one starts (an installer) must not inherit the lock.
    lockError_.clear();
    if (lockPath_.empty()) {
        lockError_ = UserFolderProblem();
        if (lockError_.empty()) lockError_ = "no runtime folder for the instance lock";
        return false;
    }
    lockFd_ = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        lockError_ = "cannot open the instance lock " + lockPath_ + ": " + std::strerror(errno);
        return false;
    }
    int rc;
    do {
        rc = flock(lockFd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        close(lockFd_);
        lockFd_ = -1;
        if (error != EWOULDBLOCK) {
            lockError_ = "cannot lock " + lockPath_ + ": " + std::strerror(error);
        }
        return false;
    }
    owner_ = true;
    return true;
}

bool SingleInstance::Listen(std::function<void(const std::string&)> onCommand)
{
    if (!owner_ || server_) {
        return false;
    }
    // We hold the lock, so a socket file left there belongs to an instance that died.
    unlink(socketPath_.c_str());
    const int fd = ListenAt(socketPath_);
    if (fd < 0) {
        return false;
    }
    server_ = std::make_unique<Server>(fd, socketPath_, std::move(onCommand));
    return true;
}

bool SendInstanceCommand(const std::wstring& name, const std::string& command, int timeoutMs)
{
    const std::string base = BasePath(name);
    sockaddr_un address;
    if (base.empty() || !ToAddress(base + ".sock", address)) {
        return false;
    }
    const std::uint64_t deadline = MonotonicMs() + static_cast<std::uint64_t>(timeoutMs);
    for (;;) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return false;
        }
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            const bool ok = WriteAll(fd, command + "\n");
            close(fd);
            return ok;
        }
        close(fd);
        if (MonotonicMs() >= deadline) {
            return false;
        }
        SleepMs(20);
    }
}

}  // namespace os
