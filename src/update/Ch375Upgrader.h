// Flashing a firmware image through a CH375 USB bridge to the keyboard's boot loader: the
// bridge is found by its ids and opened for this process alone, the flash erased, the image
// programmed in 60-byte packets and verified the same way, and the upgrade ended. Progress and
// state go to the progress callback. Worker thread (EnumDevices also from the bridge's
// notification thread).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/BootReport.h"
#include "platform/usb/Ch375Library.h"
#include "update/UpgradeReporter.h"
#include "update/UpgradeState.h"

class Ch375Upgrader {
public:
    static constexpr uint16_t kVendorId = 0x4348;
    static constexpr uint16_t kProductId = 0x55E0;
    static constexpr unsigned kTimeoutMs = 1000;

    static Ch375Upgrader& GetInstance();

    // Lists the bridges (both ids must match: another device is never flashed); true when at
    // least one was found.
    bool EnumDevices();
    // The whole upgrade; the state it ended in. UPGRADE_STARTED: no bridge was found.
    int Run(const std::wstring& imagePath, UpgradeProgress progress);

    // False when the file gives no image the bridge can address (at most 64 KB).
    bool LoadImage(const std::wstring& path);
    // The first bridge listed, opened exclusively with 1000 ms time-outs. `found` tells a
    // missing bridge from one that did not open.
    std::unique_ptr<usb::Ch375Device> OpenDevice(bool& found);
    static bool Erase(usb::Ch375Device& device);
    // Every packet of the image with BOOT_CMD_PROGRAM or BOOT_CMD_VERIFY; stops at the first
    // packet not sent or not acknowledged.
    static bool SendImage(usb::Ch375Device& device, BootCommand command,
                          std::span<const uint8_t> image);
    static bool End(usb::Ch375Device& device);
    void PostProgress(int percent);

    int State() const { return report_.State(); }
    std::vector<std::string> DeviceNames() const;
    const std::vector<uint8_t>& Image() const { return image_; }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> names_;  // of the last enumeration
    std::vector<uint8_t> image_;
    UpgradeReporter report_;
};
