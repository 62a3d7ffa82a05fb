// The loopback capture on a PulseAudio server (or PipeWire's Pulse server) through libpulse's
// asynchronous API: a threaded main loop, a context connected without autospawn and within a
// time-out, a record stream of float32 stereo in about 10 ms fragments on the monitor of a sink,
// and the server's subscription for changes of the default sink and source.
//
// Without a server, or without the client library, every operation does nothing and one line
// on standard error says why.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/CallbackThread.h"
#include "platform/audio/LoopbackCapture.h"
#include "platform/audio/PulseLibrary.h"

namespace audio {

class PulseLoopbackCapture final : public LoopbackCapture {
public:
    // `applicationName` names the client at the server and starts the messages on standard
    // error; `timeoutMs` bounds the connection and every request to the server. The client
    // library `libraryName` is loaded at the first Connect.
    PulseLoopbackCapture(std::string applicationName, int timeoutMs,
                         std::string libraryName = kPulseLibraryName);
    ~PulseLoopbackCapture() override;
    PulseLoopbackCapture(const PulseLoopbackCapture&) = delete;
    PulseLoopbackCapture& operator=(const PulseLoopbackCapture&) = delete;

    bool Connect(EndpointNotificationClient* client) override;
    bool IsConnected() const override;
    std::string DefaultRenderEndpoint() override;
    bool Open(const std::string& id, bool loopback) override;
    void Close() override;
    void SetActive(bool active) override;
    ReadResult Read(const PacketSink& sink) override;

    // The source the stream records from while it runs; empty otherwise.
    std::string RunningSource() const;

private:
    struct ServerNames {
        std::string sink;
        std::string source;
    };

    static void OnContextState(pa_context* context, void* self);
    static void OnServerEvent(pa_context* context, int type, uint32_t index, void* self);
    static void OnStreamState(pa_stream* stream, void* self);

    // Loads the library and starts the main loop; false (and said once) when either fails.
    bool StartMainloop();
    bool QueryServerNames(ServerNames& names);
    std::string QueryMonitorSource(const std::string& sink);
    void ReportOnce(const std::string& what);
    // With the main loop locked.
    void DropStream();
    void DropContext();
    void ApplyActive();

    const std::string applicationName_;
    const int timeoutMs_;
    const std::string libraryName_;
    std::mutex connectMutex_;  // one Connect at a time
    // Set once by the first Connect that starts them, and kept to the end.
    const PulseLibrary* lib_ = nullptr;
    std::atomic<pa_threaded_mainloop*> mainloop_{nullptr};
    // Guarded by the main loop's lock.
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::string streamSource_;
    bool active_ = false;
    EndpointNotificationClient* client_ = nullptr;
    ServerNames defaults_;

    std::atomic<int> contextState_{0};
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    std::atomic<bool> reported_{false};

    std::mutex readMutex_;  // one Read at a time; guards the buffers below
    std::vector<float> samples_;
    std::vector<size_t> packetEnds_;

    std::unique_ptr<CallbackThread> notifier_;
};

}  // namespace audio
