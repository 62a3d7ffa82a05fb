// Serves a virtual device on Unix sockets in a folder, one socket per interface it shows now,
// named "<name>-VID_xxxx&PID_xxxx&MI_xx". When the device's interfaces change (unplug,
// restart as another identity) the old sockets are removed and the new ones created, so a
// watcher of the folder sees removals and arrivals.
#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "VirtualDevice.h"

namespace vkb {

class SocketServer {
public:
    using StateHandler = std::function<std::string()>;
    using ControlHandler = std::function<std::string(const std::string&)>;

    SocketServer(std::shared_ptr<VirtualDevice> device, std::string dir, std::string name);
    ~SocketServer();

    // Answers to the state and control messages; without them those messages get an error.
    void SetStateHandler(StateHandler handler) { stateHandler_ = std::move(handler); }
    void SetControlHandler(ControlHandler handler) { controlHandler_ = std::move(handler); }

    // Creates the folder and the sockets and starts serving; false when a socket cannot be made.
    bool Start();
    // Removes the sockets and closes every connection.
    void Stop();
    // The socket paths served now.
    std::vector<std::string> SocketPaths();

private:
    struct Listener {
        int fd = -1;
        size_t interfaceIndex = 0;
        std::string path;
    };
    struct Connection;

    void Loop();
    bool CreateListeners(uint64_t generation);
    void RemoveListeners();
    void Serve(Connection& connection);
    void Pump(Connection& connection);
    void ReapConnections(bool all);

    std::shared_ptr<VirtualDevice> device_;
    const std::string dir_;
    const std::string name_;
    StateHandler stateHandler_;
    ControlHandler controlHandler_;

    std::mutex mutex_;  // listeners_ and connections_
    std::vector<Listener> listeners_;
    std::list<std::unique_ptr<Connection>> connections_;
    uint64_t generation_ = 0;
    bool plugged_ = false;
    int stopPipe_[2] = {-1, -1};
    std::atomic<bool> running_{false};
    std::thread thread_;
};

}  // namespace vkb
