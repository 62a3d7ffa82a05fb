#include "platform/os/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QLocalServer>
#include <QLocalSocket>
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

// Hands each complete line of the connection to the callback; what is left when the peer
// closes counts as a last line. The callback runs from the event loop, in the order the lines
// came, never inside the socket's own signals: a command may run a modal loop, in which the
// connection can close and its socket be deleted.
void ServeConnection(QLocalSocket* socket, QObject* context,
                     const std::function<void(const std::string&)>& onCommand)
{
    auto buffer = std::make_shared<std::string>();
    auto run = [context, onCommand](std::string line) {
        QMetaObject::invokeMethod(
            context, [onCommand, line = std::move(line)] { onCommand(line); },
            Qt::QueuedConnection);
    };
    auto drain = [socket, buffer, run](bool closing) {
        const QByteArray data = socket->readAll();
        buffer->append(data.constData(), static_cast<std::size_t>(data.size()));
        for (std::size_t nl; (nl = buffer->find('\n')) != std::string::npos;) {
            std::string line = buffer->substr(0, nl);
            buffer->erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            run(std::move(line));
        }
        if (closing && !buffer->empty()) {
            run(*buffer);
            buffer->clear();
        }
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [drain] { drain(false); });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket, drain] {
        drain(true);
        socket->deleteLater();
    });
    drain(false);
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
    if (server_) {
        server_->close();
        server_.reset();
    }
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
    QLocalServer::removeServer(QString::fromStdString(socketPath_));
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(QString::fromStdString(socketPath_))) {
        server_.reset();
        return false;
    }
    QLocalServer* server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server, onCommand] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            ServeConnection(socket, server, onCommand);
        }
    });
    return true;
}

bool SendInstanceCommand(const std::wstring& name, const std::string& command, int timeoutMs)
{
    const std::string base = BasePath(name);
    const std::string path = base + ".sock";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (base.empty() || path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
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
