// Capture of what the computer plays: the monitor of an output device (or an input device read
// directly), delivered as packets of interleaved 32-bit float stereo frames, with a notification
// when the system's default device changes.
//
// Every operation may be called from any thread. Notifications arrive on a thread of the
// capture's own that holds none of its locks, so a client may call back into the capture from
// them (ask for the new default device, reopen the stream).
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>

namespace audio {

// Frames carry this many interleaved float samples.
inline constexpr int kCaptureChannels = 2;
inline constexpr int kCaptureRate = 48000;

enum class DataFlow { Render, Capture };
enum class DeviceRole { Console, Communications };

class EndpointNotificationClient {
public:
    virtual ~EndpointNotificationClient() = default;
    // The default device of `flow` and `role` is now `id` (empty when there is none).
    virtual void OnDefaultDeviceChanged(DataFlow flow, DeviceRole role, const std::string& id) = 0;
};

enum class ReadResult {
    Drained,  // every waiting packet was handed over (possibly none)
    Lost,     // the stream is gone (device removed, sound server ended); reopen to go on
};

class LoopbackCapture {
public:
    // One packet: `samples` holds the packet's floats, `frames` counts its whole frames of
    // kCaptureChannels floats. A reader must stay inside the span whatever it makes of frames.
    using PacketSink = std::function<void(std::span<const float> samples, size_t frames)>;

    virtual ~LoopbackCapture() = default;
    // Connects to the sound service and registers `client` for default-device notifications.
    // False without a service; then every other operation does nothing.
    virtual bool Connect(EndpointNotificationClient* client) = 0;
    virtual bool IsConnected() const = 0;
    // The default output device, empty when there is none.
    virtual std::string DefaultRenderEndpoint() = 0;
    // Replaces the open stream with one on device `id`: its monitor when `loopback`, else the
    // device itself. False when the device cannot be opened (no stream is left open then).
    virtual bool Open(const std::string& id, bool loopback) = 0;
    // Stops and releases the open stream, if any.
    virtual void Close() = 0;
    // An inactive stream holds its device but receives nothing (no wake-ups while idle).
    // Going active drops what was captured before the pause. Kept across Open.
    virtual void SetActive(bool active) = 0;
    // Hands every waiting packet to `sink`, oldest first, and releases it. The sink runs on
    // the calling thread with none of the capture's locks held.
    virtual ReadResult Read(const PacketSink& sink) = 0;
};

}  // namespace audio
