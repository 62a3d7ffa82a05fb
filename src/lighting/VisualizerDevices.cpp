// The visualizer's capture devices: the device list, the stream and the default-device
// notifications.
#include "lighting/Visualizer.h"

void Visualizer::InitDevices()
{
    std::lock_guard lock(deviceMutex_);
    if (capture_ == nullptr) {
        return;
    }
    capture_->Connect(this);
    ListDefaultDevice();
}

void Visualizer::ListDefaultDevice()
{
    deviceNames_.clear();
    endpoints_.clear();
    captureFlags_.clear();
    const std::string endpoint = capture_->DefaultRenderEndpoint();
    if (endpoint.empty()) {
        return;
    }
    deviceNames_.emplace_back(kLoopbackDeviceName);
    endpoints_.push_back(endpoint);
    captureFlags_.push_back(false);
}

void Visualizer::OpenDevice()
{
    std::lock_guard lock(deviceMutex_);
    if (capture_ == nullptr) {
        return;
    }
    if (!capture_->IsConnected() && capture_->Connect(this)) {
        ListDefaultDevice();
    }
    OpenDeviceLocked();
}

void Visualizer::OpenDeviceLocked()
{
    capture_->Close();
    if (deviceIndex_ < 0 || deviceIndex_ >= static_cast<int>(endpoints_.size())) {
        deviceIndex_ = 0;
    }
    if (endpoints_.empty()) {
        return;
    }
    capture_->Open(endpoints_[deviceIndex_], !captureFlags_[deviceIndex_]);
}

void Visualizer::OnDefaultDeviceChanged(audio::DataFlow flow, audio::DeviceRole role,
                                        const std::string&)
{
    if (flow != audio::DataFlow::Render || role != audio::DeviceRole::Console) {
        return;
    }
    std::lock_guard lock(deviceMutex_);
    if (closing_ || capture_ == nullptr) {
        return;
    }
    // The default is asked for again: a later change may already have replaced this one.
    ListDefaultDevice();
    if (endpoints_.empty()) {
        return;
    }
    OpenDeviceLocked();
}

std::vector<std::wstring> Visualizer::DeviceNames() const
{
    std::lock_guard lock(deviceMutex_);
    return deviceNames_;
}

void Visualizer::SetDeviceIndex(int index)
{
    std::lock_guard lock(deviceMutex_);
    deviceIndex_ = index;
}
