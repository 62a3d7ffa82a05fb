// The music mode's engine: it captures what the computer plays (the monitor of the default output
// device, following the user when that device changes), analyses it into 256 band levels and, on
// a render thread of its own, paints a background and a foreground pattern and composes them into
// a SpectrumImage about every 15 ms. Two output images take turns; the newest is the front one
// that the keys are coloured from.
//
// Threads: the parameters and the analysis flag may be set from any thread and take effect with
// the next frame; the front image is read under a lock that the render thread takes only to swap
// the images; the capture is opened (worker or notification thread) and drained (render thread)
// under one device lock. Stop (and the destructor) ends and joins the render thread.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "lighting/SpectrumAnalyzer.h"
#include "lighting/SpectrumImage.h"
#include "platform/audio/LoopbackCapture.h"

class Visualizer : public audio::EndpointNotificationClient {
public:
    // The one entry of the device list.
    static constexpr const wchar_t* kLoopbackDeviceName = L"Default Loopback Device";

    explicit Visualizer(std::unique_ptr<audio::LoopbackCapture> capture);
    ~Visualizer() override;
    Visualizer(const Visualizer&) = delete;
    Visualizer& operator=(const Visualizer&) = delete;

    // --- capture devices ---
    // Connects to the sound service (registering for notifications) and lists the default
    // output device, when there is one.
    void InitDevices();
    // Replaces the capture stream with one on the selected device (index 0 when out of range);
    // without a device no stream is left. Reconnects first when the sound service was missing
    // or went away.
    void OpenDevice();
    // Acts only for the default output device of the console role: lists it anew and reopens.
    void OnDefaultDeviceChanged(audio::DataFlow flow, audio::DeviceRole role,
                                const std::string& id) override;
    std::vector<std::wstring> DeviceNames() const;
    void SetDeviceIndex(int index);

    // --- rendering ---
    // InitDevices, the parameters' defaults, the output images, OpenDevice, silence.
    void Init();
    // Starts the render thread (once).
    void Start();
    // Ends the render thread and waits for it.
    void Stop();
    // Between Start and Stop.
    bool IsRunning() const { return running_; }
    // One frame without the pause: analysis, patterns, composition, swap, hue step.
    void RenderFrame();
    // Decays the levels, drains the capture into the history and analyses it.
    void ComputeSpectrum();
    // Paints pattern `code` at `brightness` percent with the current hue.
    void RenderPattern(int code, int brightness, SpectrumImage& image) const;

    // --- parameters (any thread) ---
    // Any thread; turning it on ends the render thread's idle wait at once.
    void SetAnalysis(bool on);
    bool GetAnalysis() const { return analysis_; }
    void SetGain(int gain) { gain_ = gain; }
    int GetGain() const { return gain_; }
    void SetForegroundMode(int mode) { foregroundMode_ = mode; }
    int GetForegroundMode() const { return foregroundMode_; }
    void SetBackgroundMode(int mode) { backgroundMode_ = mode; }
    int GetBackgroundMode() const { return backgroundMode_; }
    void SetBackgroundBrightness(int percent) { backgroundBrightness_ = percent; }
    int GetBackgroundBrightness() const { return backgroundBrightness_; }
    float GetHue() const { return hue_; }

    // Calls read(const SpectrumImage&) with the front image, which stays in place meanwhile.
    template <class Read>
    void ReadFrontImage(Read&& read) const
    {
        std::lock_guard lock(frontMutex_);
        read(*front_.load());
    }
    // Frames composed so far.
    uint64_t FrameCount() const { return frames_; }
    // The analysis state; only while the render thread is not running.
    const SpectrumAnalyzer& Analyzer() const { return analyzer_; }

private:
    void RenderLoop();
    // Waits up to `ms` or until Stop.
    void Pause(int ms);
    // The idle wait while the analysis is off: until it is turned on or the loop stops.
    void WaitForAnalysis();
    void SetDefaults();
    void ListDefaultDevice();
    void OpenDeviceLocked();

    // Capture; guarded by deviceMutex_.
    mutable std::mutex deviceMutex_;
    std::unique_ptr<audio::LoopbackCapture> capture_;
    std::vector<std::wstring> deviceNames_;
    std::vector<std::string> endpoints_;
    std::vector<bool> captureFlags_;  // true: read the device directly; false: its monitor
    int deviceIndex_ = 0;
    bool closing_ = false;

    // Parameters.
    std::atomic<bool> analysis_{false};
    std::atomic<int> gain_{270};
    std::atomic<int> window_{WINDOW_HANN};
    std::atomic<int> decayPercent_{80};
    std::atomic<int> smoothing_{1};
    std::atomic<int> smoothingWidth_{8};
    std::atomic<float> follow_{1.0f};
    std::atomic<int> backgroundMode_{0};
    std::atomic<int> backgroundBrightness_{100};
    std::atomic<int> foregroundMode_{17};
    std::atomic<float> hue_{0.0f};
    std::atomic<float> hueStep_{500.0f};  // hundredths of a degree per frame

    // Render thread state.
    SpectrumAnalyzer analyzer_;
    SpectrumImage background_;
    SpectrumImage foreground_;
    std::array<SpectrumImage, 2> outputs_;
    std::atomic<SpectrumImage*> front_;
    SpectrumImage* back_;
    mutable std::mutex frontMutex_;
    std::atomic<uint64_t> frames_{0};
    bool captureActive_ = false;
    int framesWithoutSound_ = 0;

    std::atomic<bool> running_{false};
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    std::thread thread_;
};
