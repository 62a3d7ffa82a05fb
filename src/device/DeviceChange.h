// Deciding what an arrival or removal of a HID interface means for the known keyboard models:
// the filter the main window applies to each notification, kept free of any window.
#pragma once

#include <functional>
#include <span>
#include <string>

// A model as the filter sees it: the text an interface name must contain, and whether the
// model is marked connected.
struct DeviceChangeModel {
    std::wstring interfacePattern;  // for example "VID_3B6D&PID_FD70&MI_01"
    bool connected = false;
};

enum class DeviceChangeAction { kNone, kArrived, kRemoved };

struct DeviceChangeResult {
    DeviceChangeAction action = DeviceChangeAction::kNone;
    // The model the event concerns; on kRemoved the caller clears its connected flag.
    int modelIndex = -1;
};

// True only when the interface opens and both its input and output reports are 65 bytes.
// Takes an interface name as the monitors deliver it, or a bare path.
bool ProbeHidInterface(const std::wstring& interfaceName);

// Arrival: the first model whose pattern occurs in the upper-cased name decides; the
// interface is probed and kArrived returned when it passes. Removal: the first connected
// model whose pattern occurs gives kRemoved.
DeviceChangeResult FilterDeviceChange(
    bool arrived, const std::wstring& interfaceName, std::span<const DeviceChangeModel> models,
    const std::function<bool(const std::wstring&)>& probe = ProbeHidInterface);
