// The visualizer's rendering: the render thread, the analysis of each frame and the images.
#include "lighting/Visualizer.h"

#include <algorithm>
#include <utility>

#include "lighting/ComposeSpectrum.h"
#include "lighting/RenderPattern.h"

namespace {

// Pause after each frame's work, and the longest idle wait while the analysis is off (turning
// it on ends the wait).
constexpr int kFramePauseMs = 15;
constexpr int kIdlePauseMs = 5000;
// Frames without a packet after which the history counts as silence: a suspended output or a
// lost stream sends nothing, and the last sound must not stay on the keys.
constexpr int kFramesBeforeSilence = 3;

}  // namespace

Visualizer::Visualizer(std::unique_ptr<audio::LoopbackCapture> capture)
    : capture_(std::move(capture)), front_(&outputs_[1]), back_(&outputs_[0])
{
}

Visualizer::~Visualizer()
{
    Stop();
    {
        std::lock_guard lock(deviceMutex_);
        closing_ = true;
    }
    // A notification still on its way finds closing_ set and leaves the capture alone.
    capture_.reset();
}

void Visualizer::SetDefaults()
{
    gain_ = 270;
    window_ = WINDOW_HANN;
    decayPercent_ = 80;
    smoothing_ = 1;
    smoothingWidth_ = 8;
    follow_ = 1.0f;
    backgroundMode_ = 0;
    backgroundBrightness_ = 100;
    foregroundMode_ = 17;
    hue_ = 0.0f;
    hueStep_ = 500.0f;
}

void Visualizer::Init()
{
    InitDevices();
    SetDefaults();
    {
        std::lock_guard lock(frontMutex_);
        back_ = &outputs_[0];
        front_ = &outputs_[1];
    }
    OpenDevice();
    analyzer_.Clear();
}

void Visualizer::Start()
{
    if (thread_.joinable()) {
        return;
    }
    running_ = true;
    thread_ = std::thread([this] { RenderLoop(); });
}

void Visualizer::Stop()
{
    {
        std::lock_guard lock(wakeMutex_);
        running_ = false;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void Visualizer::Pause(int ms)
{
    std::unique_lock lock(wakeMutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !running_.load(); });
}

void Visualizer::SetAnalysis(bool on)
{
    {
        std::lock_guard lock(wakeMutex_);
        analysis_ = on;
    }
    if (on) wake_.notify_all();
}

void Visualizer::WaitForAnalysis()
{
    std::unique_lock lock(wakeMutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(kIdlePauseMs),
                   [this] { return !running_.load() || analysis_.load(); });
}

void Visualizer::RenderLoop()
{
    while (running_) {
        const bool analysis = analysis_;
        if (analysis != captureActive_) {
            // An idle capture receives nothing, so the idle loop waits for the analysis.
            std::lock_guard lock(deviceMutex_);
            if (capture_ != nullptr) {
                capture_->SetActive(analysis);
            }
            captureActive_ = analysis;
        }
        if (!analysis) {
            WaitForAnalysis();
            continue;
        }
        RenderFrame();
        Pause(kFramePauseMs);
    }
    std::lock_guard lock(deviceMutex_);
    if (capture_ != nullptr) {
        capture_->SetActive(false);
    }
    captureActive_ = false;
}

void Visualizer::RenderFrame()
{
    ComputeSpectrum();
    float hue = hue_;
    if (hue >= 360.0f) {
        hue = 0.0f;
    } else if (hue < 0.0f) {
        hue = 360.0f;
    }
    hue_ = hue;
    RenderPattern(backgroundMode_, backgroundBrightness_, background_);
    RenderPattern(foregroundMode_, 100, foreground_);
    ComposeSpectrum(analyzer_.Levels(), background_, foreground_, *back_);
    {
        std::lock_guard lock(frontMutex_);
        back_ = front_.exchange(back_);
    }
    ++frames_;
    hue_ = hue + hueStep_ / 100.0f;
}

void Visualizer::ComputeSpectrum()
{
    analyzer_.Decay(decayPercent_);
    const int gain = gain_;
    bool heard = false;
    {
        std::lock_guard lock(deviceMutex_);
        if (capture_ != nullptr) {
            const audio::ReadResult result =
                capture_->Read([this, gain, &heard](std::span<const float> samples, size_t frames) {
                    analyzer_.AddPacket(samples, frames, gain);
                    heard = true;
                });
            if (result == audio::ReadResult::Lost) {
                // The stream is gone; the next OpenDevice makes a new one.
                capture_->Close();
            }
        }
    }
    framesWithoutSound_ = heard ? 0 : std::min(framesWithoutSound_ + 1, kFramesBeforeSilence + 1);
    if (framesWithoutSound_ == kFramesBeforeSilence) {
        analyzer_.ClearHistory();
    }
    SpectrumSettings settings;
    settings.window = window_;
    settings.decayPercent = decayPercent_;
    settings.smoothing = smoothing_;
    settings.smoothingWidth = smoothingWidth_;
    settings.follow = follow_;
    analyzer_.Analyze(settings);
}

void Visualizer::RenderPattern(int code, int brightness, SpectrumImage& image) const
{
    ::RenderPattern(code, brightness, hue_, image);
}
