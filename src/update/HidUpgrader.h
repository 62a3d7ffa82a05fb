// Flashing a firmware image through the keyboard's own HID boot loader. The running keyboard is
// first sent the enter-boot report; the boot loader then shows up as another HID interface
// (usage page 0xFF00, usage 1) and takes a start report, the image in 32-byte chunks (program,
// then verify), an end report and a finish report, each answered. Every report travels over
// the upgrade link of DeviceManager. Worker thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/BootReport.h"
#include "update/UpgradeReporter.h"
#include "update/UpgradeState.h"

// Sends the enter-boot report to the running keyboard's interface (vendor, product, usage
// page 1, usage 0) and gives it a second to restart; nothing when that interface is not there.
void SendEnterBootloader(uint16_t vendorId, uint16_t productId);
// One exchange each on the upgrade link; true when the boot loader took the report.
bool SendBootStart(uint16_t vendorId, uint16_t productId);
bool SendBootEnd();
bool SendBootFinish();

class HidUpgrader {
public:
    // The most image bytes the boot loader's flash takes.
    static constexpr size_t kImageCapacity = 819200;
    static constexpr uint16_t kBootUsagePage = 0xFF00;
    static constexpr uint16_t kBootUsage = 1;

    static HidUpgrader& GetInstance();

    // False when the file gives no image to flash (FirmwareImage.h).
    bool LoadImage(const std::wstring& path);
    // The whole upgrade of the boot loader with these ids; true only when the boot loader took
    // every report through the finish. The upgrade link is closed at the end either way.
    bool Run(uint16_t bootVendorId, uint16_t bootProductId, const std::wstring& imagePath,
             UpgradeProgress progress);
    // Every chunk of the image with BOOT_CMD_PROGRAM or BOOT_CMD_VERIFY; stops at the first
    // chunk not acknowledged.
    bool SendImage(BootCommand command, std::span<const uint8_t> image);
    void PostProgress(int percent);

    // The state the last run ended in; UPGRADE_STARTED when no boot loader opened.
    int State() const { return report_.State(); }
    const std::vector<uint8_t>& Image() const { return image_; }

private:
    // Closes the upgrade link and tells the failure; false.
    bool Fail(int state);

    std::vector<uint8_t> image_;
    UpgradeReporter report_;
};
