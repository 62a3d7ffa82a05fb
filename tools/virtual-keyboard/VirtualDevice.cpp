#include "VirtualDevice.h"

#include <algorithm>
#include <cstring>

namespace vkb {
namespace {

// hidraw keeps this many unread reports per open handle and drops the oldest beyond.
constexpr size_t kInputQueueLimit = 64;

}  // namespace

std::vector<InterfaceSpec> VirtualDevice::Interfaces()
{
    std::lock_guard<std::mutex> lock(mutex_);
    AdvanceLocked();
    if (!plugged_) return {};
    return CurrentInterfaces();
}

uint64_t VirtualDevice::Generation()
{
    std::lock_guard<std::mutex> lock(mutex_);
    AdvanceLocked();
    return generation_;
}

std::shared_ptr<Port> VirtualDevice::Open(size_t interfaceIndex, uint64_t generation)
{
    std::lock_guard<std::mutex> lock(mutex_);
    AdvanceLocked();
    if (!plugged_ || refuseOpen_ || generation != generation_ ||
        interfaceIndex >= CurrentInterfaces().size()) {
        return nullptr;
    }
    std::shared_ptr<Port> port(new Port(interfaceIndex, generation));
    std::erase_if(ports_, [](const std::weak_ptr<Port>& p) { return p.expired(); });
    ports_.push_back(port);
    return port;
}

void VirtualDevice::SetRefuseOpen(bool refuse)
{
    std::lock_guard<std::mutex> lock(mutex_);
    refuseOpen_ = refuse;
}

bool VirtualDevice::RefusesOpen()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return refuseOpen_;
}

int VirtualDevice::Write(Port& port, const uint8_t* data, size_t length)
{
    std::lock_guard<std::mutex> lock(mutex_);
    AdvanceLocked();
    if (port.dead_ || data == nullptr || length == 0) return -1;
    const auto interfaces = CurrentInterfaces();
    const size_t reportLength =
        static_cast<size_t>(interfaces[port.interfaceIndex_].outputReportLength);
    // The HID layer sends whole output reports: shorter ones padded, longer ones cut.
    std::vector<uint8_t> report(reportLength, 0);
    std::memcpy(report.data(), data, std::min(length, reportLength));
    const int result = HandleWrite(port.interfaceIndex_, report.data(), report.size());
    changed_.notify_all();
    return port.dead_ ? -1 : result;
}

int VirtualDevice::Read(Port& port, uint8_t* data, size_t length, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        AdvanceLocked();
        const auto now = Clock::now();
        if (!port.inputs_.empty() && port.inputs_.front().due <= now) {
            const std::vector<uint8_t> report = std::move(port.inputs_.front().report);
            port.inputs_.pop_front();
            const size_t n = std::min(length, report.size());
            if (data != nullptr) std::memcpy(data, report.data(), n);
            return static_cast<int>(n);
        }
        if (port.dead_) return -1;
        if (timeoutMs >= 0 && now >= deadline) return 0;
        // Wake for the deadline, the next report coming due, or the next restart.
        Clock::time_point wake = timeoutMs >= 0 ? deadline : now + std::chrono::hours(1);
        if (!port.inputs_.empty()) wake = std::min(wake, port.inputs_.front().due);
        if (const auto next = NextTransition()) wake = std::min(wake, std::max(*next, now));
        changed_.wait_until(lock, wake);
    }
}

void VirtualDevice::Close(Port& port)
{
    std::lock_guard<std::mutex> lock(mutex_);
    port.dead_ = true;
    port.inputs_.clear();
    changed_.notify_all();
}

void VirtualDevice::Plug()
{
    std::lock_guard<std::mutex> lock(mutex_);
    SetPluggedLocked(true);
}

void VirtualDevice::Unplug()
{
    std::lock_guard<std::mutex> lock(mutex_);
    SetPluggedLocked(false);
}

void VirtualDevice::FailHandles()
{
    std::lock_guard<std::mutex> lock(mutex_);
    FailPortsLocked();
}

bool VirtualDevice::Plugged()
{
    std::lock_guard<std::mutex> lock(mutex_);
    AdvanceLocked();
    return plugged_;
}

void VirtualDevice::Poll()
{
    std::lock_guard<std::mutex> lock(mutex_);
    AdvanceLocked();
}

void VirtualDevice::SendInput(size_t interfaceIndex, std::vector<uint8_t> report,
                              Clock::time_point due)
{
    for (const auto& weak : ports_) {
        const auto port = weak.lock();
        if (!port || port->dead_ || port->interfaceIndex_ != interfaceIndex) continue;
        if (port->inputs_.size() >= kInputQueueLimit) port->inputs_.pop_front();
        port->inputs_.push_back({due, report});
    }
    changed_.notify_all();
}

void VirtualDevice::ChangeIdentity()
{
    ++generation_;
    FailPortsLocked();
}

void VirtualDevice::FailPortsLocked()
{
    for (const auto& weak : ports_) {
        if (const auto port = weak.lock()) {
            port->dead_ = true;
            port->inputs_.clear();
        }
    }
    ports_.clear();
    changed_.notify_all();
}

void VirtualDevice::SetPluggedLocked(bool plugged)
{
    if (plugged_ == plugged) return;
    plugged_ = plugged;
    ChangeIdentity();
}

}  // namespace vkb
