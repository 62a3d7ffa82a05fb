#include "platform/audio/MemoryLoopbackCapture.h"

#include <algorithm>
#include <span>
#include <utility>

namespace audio {

MemoryLoopbackCapture::MemoryLoopbackCapture(bool serverPresent) : serverPresent_(serverPresent) {}

bool MemoryLoopbackCapture::Connect(EndpointNotificationClient* client)
{
    std::lock_guard lock(mutex_);
    connected_ = serverPresent_;
    client_ = connected_ ? client : nullptr;
    return connected_;
}

bool MemoryLoopbackCapture::IsConnected() const
{
    std::lock_guard lock(mutex_);
    return connected_;
}

std::string MemoryLoopbackCapture::DefaultRenderEndpoint()
{
    std::lock_guard lock(mutex_);
    return connected_ ? defaultEndpoint_ : std::string();
}

bool MemoryLoopbackCapture::Open(const std::string& id, bool)
{
    std::lock_guard lock(mutex_);
    openEndpoint_.clear();
    packets_.clear();
    lost_ = false;
    if (!connected_ || id.empty()) {
        return false;
    }
    openEndpoint_ = id;
    ++openCount_;
    return true;
}

void MemoryLoopbackCapture::Close()
{
    std::lock_guard lock(mutex_);
    openEndpoint_.clear();
    packets_.clear();
}

void MemoryLoopbackCapture::SetActive(bool active)
{
    std::lock_guard lock(mutex_);
    active_ = active;
}

ReadResult MemoryLoopbackCapture::Read(const PacketSink& sink)
{
    std::deque<std::vector<float>> packets;
    {
        std::lock_guard lock(mutex_);
        if (openEndpoint_.empty()) {
            return ReadResult::Drained;
        }
        if (lost_) {
            return ReadResult::Lost;
        }
        packets.swap(packets_);
    }
    for (const std::vector<float>& packet : packets) {
        sink(std::span<const float>(packet), packet.size() / kCaptureChannels);
    }
    return ReadResult::Drained;
}

void MemoryLoopbackCapture::Push(std::vector<float> samples)
{
    std::lock_guard lock(mutex_);
    packets_.push_back(std::move(samples));
}

void MemoryLoopbackCapture::PushFrames(const std::vector<float>& samples, size_t frames)
{
    const size_t step = std::max<size_t>(frames, 1) * kCaptureChannels;
    for (size_t start = 0; start < samples.size(); start += step) {
        const size_t end = std::min(samples.size(), start + step);
        Push(std::vector<float>(samples.begin() + static_cast<std::ptrdiff_t>(start),
                                samples.begin() + static_cast<std::ptrdiff_t>(end)));
    }
}

void MemoryLoopbackCapture::SetDefaultRenderEndpoint(std::string id)
{
    std::lock_guard lock(mutex_);
    defaultEndpoint_ = std::move(id);
}

void MemoryLoopbackCapture::LoseStream()
{
    std::lock_guard lock(mutex_);
    lost_ = true;
}

void MemoryLoopbackCapture::NotifyDefaultChanged(DataFlow flow, DeviceRole role,
                                                 const std::string& id)
{
    EndpointNotificationClient* client = nullptr;
    {
        std::lock_guard lock(mutex_);
        client = client_;
    }
    if (client != nullptr) {
        client->OnDefaultDeviceChanged(flow, role, id);
    }
}

std::string MemoryLoopbackCapture::OpenEndpoint() const
{
    std::lock_guard lock(mutex_);
    return openEndpoint_;
}

int MemoryLoopbackCapture::OpenCount() const
{
    std::lock_guard lock(mutex_);
    return openCount_;
}

bool MemoryLoopbackCapture::Active() const
{
    std::lock_guard lock(mutex_);
    return active_;
}

}  // namespace audio
