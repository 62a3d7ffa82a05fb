// A loopback capture that plays packets handed to it: the stand-in for a sound server in tests
// and benchmarks. The default device and a lost stream can be set, and the registered client
// told of a default-device change, from any thread.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/LoopbackCapture.h"

namespace audio {

class MemoryLoopbackCapture final : public LoopbackCapture {
public:
    // Whether Connect succeeds (a sound server is there).
    explicit MemoryLoopbackCapture(bool serverPresent = true);

    bool Connect(EndpointNotificationClient* client) override;
    bool IsConnected() const override;
    std::string DefaultRenderEndpoint() override;
    bool Open(const std::string& id, bool loopback) override;
    void Close() override;
    void SetActive(bool active) override;
    ReadResult Read(const PacketSink& sink) override;

    // Queues one packet of interleaved samples for the open stream.
    void Push(std::vector<float> samples);
    // Queues packets of `frames` frames from `samples` until every sample is queued.
    void PushFrames(const std::vector<float>& samples, size_t frames);
    void SetDefaultRenderEndpoint(std::string id);
    // The next Read reports the stream lost.
    void LoseStream();
    // Tells the registered client, on the calling thread.
    void NotifyDefaultChanged(DataFlow flow, DeviceRole role, const std::string& id);

    // What was opened last ("" while no stream is open), how many Opens there were, and the
    // activity last set.
    std::string OpenEndpoint() const;
    int OpenCount() const;
    bool Active() const;

private:
    mutable std::mutex mutex_;
    bool serverPresent_;
    bool connected_ = false;
    EndpointNotificationClient* client_ = nullptr;
    std::string defaultEndpoint_ = "default-sink";
    std::string openEndpoint_;
    int openCount_ = 0;
    bool active_ = false;
    bool lost_ = false;
    std::deque<std::vector<float>> packets_;
};

}  // namespace audio
