#include "update/HidUpgrader.h"

#include <algorithm>

#include "device/DeviceManager.h"
#include "device/Pause.h"
#include "platform/hid/HidSeam.h"
#include "update/FirmwareImage.h"

namespace {

constexpr uint16_t kEnterBootUsagePage = 1;
constexpr uint16_t kEnterBootUsage = 0;
// The running keyboard's restart into its boot loader.
constexpr int kEnterBootRestartMs = 1000;
// How long a keyboard told to finish may take to come back running, and how often it is
// looked for meanwhile.
constexpr int kFinishRestartMs = 5000;
constexpr int kFinishLookMs = 100;

bool ExchangeBootReport(BootReport report)
{
    return DeviceManager::IspExchange(report) &&
           IsGoodBootAnswer(report.data(), static_cast<int>(report.size()));
}

// After a finish that went unanswered: true when the boot loader has gone and the keyboard
// shows up again under its vendor id with another product id (it restarted into the new
// firmware).
bool CameBackRunning(uint16_t bootVendorId, uint16_t bootProductId)
{
    DeviceManager::CloseIspLink();
    for (int waited = 0; waited <= kFinishRestartMs; waited += kFinishLookMs) {
        bool bootLoader = false;
        bool running = false;
        for (const hid::HidDeviceInfo& info : hid::Backend().Enumerate(bootVendorId)) {
            if (info.vendorId != bootVendorId) {
                continue;
            }
            (info.productId == bootProductId ? bootLoader : running) = true;
        }
        if (running && !bootLoader) {
            return true;
        }
        PauseMs(kFinishLookMs);
    }
    return false;
}

}  // namespace

void SendEnterBootloader(uint16_t vendorId, uint16_t productId)
{
    auto device =
        DeviceManager::OpenHidByIds(vendorId, productId, kEnterBootUsagePage, kEnterBootUsage);
    if (!device) {
        return;
    }
    DeviceManager::SetIspLink(std::move(device));
    BootReport report = MakeEnterBootReport();
    DeviceManager::IspExchange(report);  // the keyboard restarts; its answer says nothing more
    PauseMs(kEnterBootRestartMs);
    DeviceManager::CloseIspLink();
}

bool SendBootStart(uint16_t vendorId, uint16_t productId)
{
    return ExchangeBootReport(MakeBootStartReport(vendorId, productId));
}

bool SendBootEnd() { return ExchangeBootReport(MakeBootEndReport()); }

bool SendBootFinish() { return ExchangeBootReport(MakeBootFinishReport()); }

HidUpgrader& HidUpgrader::GetInstance()
{
    static HidUpgrader instance;
    return instance;
}

bool HidUpgrader::LoadImage(const std::wstring& path)
{
    image_ = LoadFirmwareImage(path, kImageCapacity);
    return !image_.empty();
}

void HidUpgrader::PostProgress(int percent) { report_.Post(percent); }

bool HidUpgrader::Fail(int state)
{
    DeviceManager::CloseIspLink();
    report_.Fail(state);
    return false;
}

bool HidUpgrader::Run(uint16_t bootVendorId, uint16_t bootProductId, const std::wstring& imagePath,
                      UpgradeProgress progress)
{
    report_.Start(std::move(progress));
    // The image is checked before the boot loader is touched: nothing is erased for a bad one.
    if (!LoadImage(imagePath)) {
        report_.Enter(UPGRADE_NO_IMAGE, 5);
        return false;
    }
    auto device =
        DeviceManager::OpenHidByIds(bootVendorId, bootProductId, kBootUsagePage, kBootUsage);
    if (!device) {
        return false;  // the state stays "started": no boot loader answered
    }
    DeviceManager::SetIspLink(std::move(device));
    report_.Enter(UPGRADE_DEVICE_OPEN, 10);
    if (!SendBootStart(bootVendorId, bootProductId)) {
        return Fail(UPGRADE_ERASE_FAILED);
    }
    report_.Enter(UPGRADE_ERASED, 15);
    if (!SendImage(BOOT_CMD_PROGRAM, image_)) {
        return Fail(UPGRADE_PROGRAM_FAILED);
    }
    report_.Enter(UPGRADE_PROGRAMMED, 60);
    if (!SendImage(BOOT_CMD_VERIFY, image_)) {
        return Fail(UPGRADE_VERIFY_FAILED);
    }
    PostProgress(95);
    // The keyboard runs the new firmware only after both: either failing fails the upgrade.
    if (!SendBootEnd()) {
        return Fail(UPGRADE_END_FAILED);
    }
    PostProgress(98);
    // The finish restarts the keyboard, which may go before its answer: what comes back tells.
    if (!SendBootFinish() && !CameBackRunning(bootVendorId, bootProductId)) {
        return Fail(UPGRADE_END_FAILED);
    }
    DeviceManager::CloseIspLink();
    report_.Enter(UPGRADE_DONE, 100);
    return true;
}

bool HidUpgrader::SendImage(BootCommand command, std::span<const uint8_t> image)
{
    if (image.empty()) {
        return true;
    }
    if (DeviceManager::IspLink() == nullptr) {
        return false;
    }
    const bool program = command == BOOT_CMD_PROGRAM;
    const size_t chunks = std::max<size_t>(image.size() / kBootChunkMax, 1);
    size_t k = 0;
    for (size_t offset = 0; offset < image.size(); offset += kBootChunkMax, ++k) {
        const int step = static_cast<int>((program ? 45 : 35) * k / chunks);
        PostProgress((program ? 15 : 60) + step);
        const size_t length = std::min(kBootChunkMax, image.size() - offset);
        if (!ExchangeBootReport(MakeBootChunkReport(command, static_cast<uint32_t>(offset),
                                                    image.subspan(offset, length)))) {
            return false;
        }
    }
    return true;
}
