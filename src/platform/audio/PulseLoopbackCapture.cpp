#include "platform/audio/PulseLoopbackCapture.h"

#include "platform/audio/PulseLibrary.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <span>
#include <utility>

namespace audio {

namespace {

constexpr pa_sample_spec kSampleSpec{PA_SAMPLE_FLOAT32NE, kCaptureRate, kCaptureChannels};
constexpr pa_usec_t kFragmentUsec = 10 * PA_USEC_PER_MSEC;
// What the server keeps for a reader that falls behind; older sound is dropped.
constexpr pa_usec_t kBacklogUsec = 200 * PA_USEC_PER_MSEC;

// Holds the main loop's lock for a scope.
class MainloopLock {
public:
    MainloopLock(const PulseLibrary& lib, pa_threaded_mainloop* mainloop)
        : lib_(lib), mainloop_(mainloop)
    {
        lib_.pa_threaded_mainloop_lock(mainloop_);
    }
    ~MainloopLock() { lib_.pa_threaded_mainloop_unlock(mainloop_); }
    MainloopLock(const MainloopLock&) = delete;
    MainloopLock& operator=(const MainloopLock&) = delete;

private:
    const PulseLibrary& lib_;
    pa_threaded_mainloop* mainloop_;
};

// The answer to one request, filled on the main loop's thread and awaited on the caller's.
struct Reply {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool ok = false;
    std::string first;
    std::string second;

    void Finish(bool success)
    {
        std::lock_guard lock(mutex);
        ok = success;
        done = true;
        finished.notify_all();
    }
};

// Waits at most timeoutMs for the request's reply, then forgets the request; true when the
// reply came and says success. Not on the main loop's thread.
bool AwaitReply(const PulseLibrary& lib, pa_threaded_mainloop* mainloop, pa_operation* op,
                Reply& reply, int timeoutMs)
{
    {
        std::unique_lock lock(reply.mutex);
        reply.finished.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [&reply] { return reply.done; });
    }
    {
        // Once cancelled under the lock, the request can no longer reach the reply.
        MainloopLock lock(lib, mainloop);
        lib.pa_operation_cancel(op);
        lib.pa_operation_unref(op);
    }
    std::lock_guard lock(reply.mutex);
    return reply.done && reply.ok;
}

void CopyText(std::string& to, const char* from) { to = from != nullptr ? from : ""; }

void OnServerInfo(pa_context*, const pa_server_info* info, void* userdata)
{
    auto* reply = static_cast<Reply*>(userdata);
    {
        std::lock_guard lock(reply->mutex);
        if (info != nullptr) {
            CopyText(reply->first, info->default_sink_name);
            CopyText(reply->second, info->default_source_name);
        }
    }
    reply->Finish(info != nullptr);
}

void OnSinkInfo(pa_context*, const pa_sink_info* info, int eol, void* userdata)
{
    auto* reply = static_cast<Reply*>(userdata);
    if (eol != 0) {
        std::lock_guard lock(reply->mutex);
        const bool found = eol > 0 && !reply->first.empty();
        reply->ok = found;
        reply->done = true;
        reply->finished.notify_all();
        return;
    }
    std::lock_guard lock(reply->mutex);
    CopyText(reply->first, info->monitor_source_name);
}

bool IsEnded(int state) { return state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED; }

}  // namespace

PulseLoopbackCapture::PulseLoopbackCapture(std::string applicationName, int timeoutMs,
                                           std::string libraryName)
    : applicationName_(std::move(applicationName)),
      timeoutMs_(timeoutMs),
      libraryName_(std::move(libraryName)),
      notifier_(std::make_unique<CallbackThread>())
{
}

PulseLoopbackCapture::~PulseLoopbackCapture()
{
    if (mainloop_ != nullptr) {
        MainloopLock lock(*lib_, mainloop_);
        client_ = nullptr;
    }
    // Calls already posted still run, and may still use the stream.
    notifier_.reset();
    if (mainloop_ == nullptr) {
        return;
    }
    {
        MainloopLock lock(*lib_, mainloop_);
        DropStream();
        DropContext();
    }
    lib_->pa_threaded_mainloop_stop(mainloop_);
    lib_->pa_threaded_mainloop_free(mainloop_);
}

bool PulseLoopbackCapture::Connect(EndpointNotificationClient* client)
{
    std::lock_guard connecting(connectMutex_);
    if (IsConnected()) {
        MainloopLock lock(*lib_, mainloop_);
        client_ = client;
        return true;
    }
    if (mainloop_ == nullptr && !StartMainloop()) {
        return false;
    }
    {
        MainloopLock lock(*lib_, mainloop_);
        DropStream();
        DropContext();
        contextState_ = PA_CONTEXT_UNCONNECTED;
        context_ = lib_->pa_context_new(lib_->pa_threaded_mainloop_get_api(mainloop_),
                                        applicationName_.c_str());
        if (context_ == nullptr) {
            ReportOnce("cannot create a sound-server context");
            return false;
        }
        lib_->pa_context_set_state_callback(context_, &PulseLoopbackCapture::OnContextState, this);
        if (lib_->pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            ReportOnce(lib_->pa_strerror(lib_->pa_context_errno(context_)));
            DropContext();
            return false;
        }
    }
    {
        std::unique_lock lock(stateMutex_);
        stateChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs_), [this] {
            const int state = contextState_.load();
            return state == PA_CONTEXT_READY || IsEnded(state);
        });
    }
    ServerNames names;
    {
        MainloopLock lock(*lib_, mainloop_);
        if (contextState_.load() != PA_CONTEXT_READY) {
            ReportOnce(IsEnded(contextState_.load())
                           ? lib_->pa_strerror(lib_->pa_context_errno(context_))
                           : "no answer in time");
            DropContext();
            return false;
        }
        client_ = client;
        lib_->pa_context_set_subscribe_callback(
            context_,
            [](pa_context* context, pa_subscription_event_type_t type, uint32_t index, void* self) {
                OnServerEvent(context, static_cast<int>(type), index, self);
            },
            this);
        if (pa_operation* op = lib_->pa_context_subscribe(context_, PA_SUBSCRIPTION_MASK_SERVER,
                                                          nullptr, nullptr)) {
            lib_->pa_operation_unref(op);
        }
    }
    if (QueryServerNames(names)) {
        MainloopLock lock(*lib_, mainloop_);
        defaults_ = names;
    }
    reported_ = false;
    return true;
}

bool PulseLoopbackCapture::StartMainloop()
{
    std::string error;
    lib_ = LoadPulseLibrary(libraryName_, error);
    if (lib_ == nullptr) {
        ReportOnce(error);
        return false;
    }
    pa_threaded_mainloop* mainloop = lib_->pa_threaded_mainloop_new();
    if (mainloop == nullptr || lib_->pa_threaded_mainloop_start(mainloop) < 0) {
        if (mainloop != nullptr) {
            lib_->pa_threaded_mainloop_free(mainloop);
        }
        ReportOnce("cannot start the sound client's thread");
        return false;
    }
    mainloop_ = mainloop;
    return true;
}

bool PulseLoopbackCapture::IsConnected() const
{
    return mainloop_ != nullptr && contextState_.load() == PA_CONTEXT_READY;
}

std::string PulseLoopbackCapture::DefaultRenderEndpoint()
{
    ServerNames names;
    if (!QueryServerNames(names)) {
        return {};
    }
    return names.sink;
}

bool PulseLoopbackCapture::Open(const std::string& id, bool loopback)
{
    if (!IsConnected() || id.empty()) {
        Close();
        return false;
    }
    const std::string source = loopback ? QueryMonitorSource(id) : id;
    MainloopLock lock(*lib_, mainloop_);
    DropStream();
    if (source.empty() || context_ == nullptr) {
        return false;
    }
    pa_channel_map map;
    lib_->pa_channel_map_init_stereo(&map);
    stream_ = lib_->pa_stream_new(context_, "music capture", &kSampleSpec, &map);
    if (stream_ == nullptr) {
        return false;
    }
    lib_->pa_stream_set_state_callback(stream_, &PulseLoopbackCapture::OnStreamState, this);
    pa_buffer_attr attr;
    std::memset(&attr, 0xFF, sizeof attr);  // every field: the server's choice
    attr.maxlength = static_cast<uint32_t>(lib_->pa_usec_to_bytes(kBacklogUsec, &kSampleSpec));
    attr.fragsize = static_cast<uint32_t>(lib_->pa_usec_to_bytes(kFragmentUsec, &kSampleSpec));
    const auto flags =
        static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED);
    if (lib_->pa_stream_connect_record(stream_, source.c_str(), &attr, flags) < 0) {
        DropStream();
        return false;
    }
    streamSource_ = source;
    return true;
}

void PulseLoopbackCapture::Close()
{
    if (mainloop_ == nullptr) {
        return;
    }
    MainloopLock lock(*lib_, mainloop_);
    DropStream();
}

void PulseLoopbackCapture::SetActive(bool active)
{
    if (mainloop_ == nullptr) {
        return;
    }
    MainloopLock lock(*lib_, mainloop_);
    if (active_ == active) {
        return;
    }
    active_ = active;
    ApplyActive();
}

ReadResult PulseLoopbackCapture::Read(const PacketSink& sink)
{
    std::lock_guard reading(readMutex_);
    samples_.clear();
    packetEnds_.clear();
    ReadResult result = ReadResult::Drained;
    if (mainloop_ == nullptr) {
        return result;
    }
    {
        MainloopLock lock(*lib_, mainloop_);
        if (stream_ == nullptr) {
            return result;
        }
        const pa_stream_state_t state = lib_->pa_stream_get_state(stream_);
        if (state == PA_STREAM_UNCONNECTED || state == PA_STREAM_CREATING) {
            return result;
        }
        if (state != PA_STREAM_READY) {
            return ReadResult::Lost;
        }
        for (;;) {
            const size_t readable = lib_->pa_stream_readable_size(stream_);
            if (readable == static_cast<size_t>(-1)) {
                result = ReadResult::Lost;
                break;
            }
            if (readable == 0) {
                break;
            }
            const void* data = nullptr;
            size_t bytes = 0;
            if (lib_->pa_stream_peek(stream_, &data, &bytes) < 0) {
                result = ReadResult::Lost;
                break;
            }
            if (bytes == 0) {
                break;
            }
            if (data != nullptr) {
                // Copied: the server's block need not be aligned for floats.
                const size_t floats = bytes / sizeof(float);
                const size_t start = samples_.size();
                samples_.resize(start + floats);
                std::memcpy(samples_.data() + start, data, floats * sizeof(float));
                packetEnds_.push_back(samples_.size());
            }
            // A hole (no data) is dropped like a packet.
            lib_->pa_stream_drop(stream_);
        }
    }
    size_t start = 0;
    for (const size_t end : packetEnds_) {
        const std::span<const float> packet(samples_.data() + start, end - start);
        sink(packet, packet.size() / kCaptureChannels);
        start = end;
    }
    return result;
}

std::string PulseLoopbackCapture::RunningSource() const
{
    if (mainloop_ == nullptr) {
        return {};
    }
    MainloopLock lock(*lib_, mainloop_);
    if (stream_ == nullptr || lib_->pa_stream_get_state(stream_) != PA_STREAM_READY) {
        return {};
    }
    return streamSource_;
}

void PulseLoopbackCapture::OnContextState(pa_context* context, void* self)
{
    auto* capture = static_cast<PulseLoopbackCapture*>(self);
    const int state = capture->lib_->pa_context_get_state(context);
    const int before = capture->contextState_.exchange(state);
    if (before == PA_CONTEXT_READY && IsEnded(state)) {
        capture->ReportOnce("connection lost");
    }
    std::lock_guard lock(capture->stateMutex_);
    capture->stateChanged_.notify_all();
}

void PulseLoopbackCapture::OnServerEvent(pa_context* context, int type, uint32_t, void* self)
{
    if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) != PA_SUBSCRIPTION_EVENT_SERVER) {
        return;
    }
    // The new defaults are asked for here, on the main loop's thread, and compared with the
    // last ones; a change is told to the client on the notification thread.
    const PulseLibrary& lib = *static_cast<PulseLoopbackCapture*>(self)->lib_;
    pa_operation* op = lib.pa_context_get_server_info(
        context,
        [](pa_context*, const pa_server_info* info, void* userdata) {
            auto* capture = static_cast<PulseLoopbackCapture*>(userdata);
            if (info == nullptr) {
                return;
            }
            ServerNames now;
            CopyText(now.sink, info->default_sink_name);
            CopyText(now.source, info->default_source_name);
            EndpointNotificationClient* client = capture->client_;
            if (client != nullptr && now.sink != capture->defaults_.sink) {
                capture->notifier_->Post([client, id = now.sink] {
                    client->OnDefaultDeviceChanged(DataFlow::Render, DeviceRole::Console, id);
                });
            }
            if (client != nullptr && now.source != capture->defaults_.source) {
                capture->notifier_->Post([client, id = now.source] {
                    client->OnDefaultDeviceChanged(DataFlow::Capture, DeviceRole::Console, id);
                });
            }
            capture->defaults_ = std::move(now);
        },
        self);
    if (op != nullptr) {
        lib.pa_operation_unref(op);
    }
}

void PulseLoopbackCapture::OnStreamState(pa_stream* stream, void* self)
{
    auto* capture = static_cast<PulseLoopbackCapture*>(self);
    if (stream == capture->stream_ &&
        capture->lib_->pa_stream_get_state(stream) == PA_STREAM_READY) {
        capture->ApplyActive();
    }
}

bool PulseLoopbackCapture::QueryServerNames(ServerNames& names)
{
    if (!IsConnected() || lib_->pa_threaded_mainloop_in_thread(mainloop_)) {
        return false;
    }
    Reply reply;
    pa_operation* op = nullptr;
    {
        MainloopLock lock(*lib_, mainloop_);
        op = lib_->pa_context_get_server_info(context_, &OnServerInfo, &reply);
        if (op == nullptr) {
            return false;
        }
    }
    if (!AwaitReply(*lib_, mainloop_, op, reply, timeoutMs_)) {
        return false;
    }
    names.sink = reply.first;
    names.source = reply.second;
    return true;
}

std::string PulseLoopbackCapture::QueryMonitorSource(const std::string& sink)
{
    if (!IsConnected() || lib_->pa_threaded_mainloop_in_thread(mainloop_)) {
        return {};
    }
    Reply reply;
    pa_operation* op = nullptr;
    {
        MainloopLock lock(*lib_, mainloop_);
        op = lib_->pa_context_get_sink_info_by_name(context_, sink.c_str(), &OnSinkInfo, &reply);
        if (op == nullptr) {
            return {};
        }
    }
    return AwaitReply(*lib_, mainloop_, op, reply, timeoutMs_) ? reply.first : std::string();
}

void PulseLoopbackCapture::ReportOnce(const std::string& what)
{
    if (!reported_.exchange(true)) {
        std::fprintf(stderr, "%s: sound server: %s; the music mode stays silent\n",
                     applicationName_.c_str(), what.c_str());
    }
}

void PulseLoopbackCapture::DropStream()
{
    streamSource_.clear();
    if (stream_ == nullptr) {
        return;
    }
    lib_->pa_stream_set_state_callback(stream_, nullptr, nullptr);
    if (lib_->pa_stream_get_state(stream_) == PA_STREAM_READY ||
        lib_->pa_stream_get_state(stream_) == PA_STREAM_CREATING) {
        lib_->pa_stream_disconnect(stream_);
    }
    lib_->pa_stream_unref(stream_);
    stream_ = nullptr;
}

void PulseLoopbackCapture::DropContext()
{
    if (context_ == nullptr) {
        return;
    }
    lib_->pa_context_set_state_callback(context_, nullptr, nullptr);
    lib_->pa_context_set_subscribe_callback(context_, nullptr, nullptr);
    lib_->pa_context_disconnect(context_);
    lib_->pa_context_unref(context_);
    context_ = nullptr;
    contextState_ = PA_CONTEXT_TERMINATED;
}

void PulseLoopbackCapture::ApplyActive()
{
    if (stream_ == nullptr || lib_->pa_stream_get_state(stream_) != PA_STREAM_READY) {
        return;  // applied when the stream becomes ready
    }
    if (pa_operation* op = lib_->pa_stream_cork(stream_, active_ ? 0 : 1, nullptr, nullptr)) {
        lib_->pa_operation_unref(op);
    }
    if (active_) {
        // What waited from before the pause is not played into the next frames.
        if (pa_operation* op = lib_->pa_stream_flush(stream_, nullptr, nullptr)) {
            lib_->pa_operation_unref(op);
        }
    }
}

}  // namespace audio
