// One running instance per device name.
//
// The first instance holds an flock on "<runtime dir>/<name>.lock" for as long as it lives and
// listens on the Unix socket "<runtime dir>/<name>.sock". A later start finds the lock taken and
// sends the first one a command line instead ("show", "exit 610", ...).
#pragma once

#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace os {

class SingleInstance {
public:
    explicit SingleInstance(const std::wstring& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock. true when this process is the first; false when another process holds it,
    // and also when the lock file cannot be opened or locked at all (nothing could then keep a
    // second instance out: see LockError).
    bool Acquire();
    // Why the last Acquire could not use the lock file; empty when it could (held or not).
    const std::string& LockError() const { return lockError_; }

    // Listens on the socket (a Qt application must exist; commands arrive on this thread
    // through its event loop). Each command line received is handed to onCommand without its
    // line break. Only after Acquire succeeded.
    bool Listen(std::function<void(const std::string&)> onCommand);

    const std::string& LockPath() const { return lockPath_; }
    const std::string& SocketPath() const { return socketPath_; }

private:
    std::string lockPath_;
    std::string socketPath_;
    std::string lockError_;
    int lockFd_ = -1;
    bool owner_ = false;
    std::unique_ptr<QLocalServer> server_;
};

// Sends one command line to the first instance of that name, retrying for up to timeoutMs
// while it is still starting to listen; true when the command was handed over.
bool SendInstanceCommand(const std::wstring& name, const std::string& command,
                         int timeoutMs = 3000);

}  // namespace os
