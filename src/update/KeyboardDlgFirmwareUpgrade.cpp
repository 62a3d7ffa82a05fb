// The firmware jobs: the package is fetched from the update service, checked and unpacked,
// and its image flashed through the keyboard's HID boot loader or a CH375 bridge. Worker.
#include <filesystem>
#include <string>

#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "device/DeviceManager.h"
#include "platform/text/Utf8.h"
#include "update/Ch375Upgrader.h"
#include "update/FirmwareImage.h"
#include "update/HidUpgrader.h"
#include "update/PackageDigest.h"
#include "update/UpgradeState.h"
#include "update/VersionText.h"
#include "update/ZipArchive.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kFirmwareVersionMax = 9;
// The one model with fixed ids: its running keyboard's enter-boot interface and its boot loader.
constexpr int kFixedIdModel = 101;
constexpr uint16_t kKeyboardVendorId = 0x3B6D;
constexpr uint16_t kEnterBootProductId = 0x9053;
constexpr uint16_t kBootProductId = 0xAF3E;
// A firmware package holds the image (at most 800 KiB) and perhaps a few small files.
constexpr ZipLimits kFirmwarePackageLimits{4ull << 20, 16ull << 20};

void RemoveFile(const std::wstring& path)
{
    std::error_code ec;
    fs::remove(text::WideToUtf8(path), ec);
}

bool FileExists(const std::wstring& path)
{
    std::error_code ec;
    return fs::is_regular_file(text::WideToUtf8(path), ec);
}

constexpr uint32_t UsbIdKey(uint32_t vendorId, uint32_t productId)
{
    return productId * 65536u + vendorId;
}

// An address in the model's folder of the firmware service, built without doubled slashes.
std::wstring FirmwareAddress(KeyboardDlg& dlg, const std::wstring& name)
{
    std::lock_guard lock(dlg.updates.mutex);
    const std::wstring& folder = dlg.updates.modelFolder;
    return dlg.info.firmwareUpdateBase + (folder.empty() ? L"" : folder + L"/") + name;
}

UpgradeProgress ProgressToWindow(KeyboardDlg& dlg)
{
    return [&dlg](int percent, int state) {
        dlg.PostMessage(WM_UPGRADE_PROGRESS, static_cast<WPARAM>(percent), state);
    };
}

int FlashOverBootLoader(KeyboardDlg& dlg, uint16_t vendorId, uint16_t productId,
                        const std::wstring& image)
{
    HidUpgrader& upgrader = HidUpgrader::GetInstance();
    if (upgrader.Run(vendorId, productId, image, ProgressToWindow(dlg))) {
        return UPGRADE_DONE;
    }
    return upgrader.State() == UPGRADE_STARTED ? kUpgradeNoBootLoader : upgrader.State();
}

// The image is not kept: the bridge's recovery downloads it again.
int FlashOverBridge(KeyboardDlg& dlg, const std::wstring& image)
{
    Ch375Upgrader& bridge = Ch375Upgrader::GetInstance();
    const int state = bridge.EnumDevices() ? bridge.Run(image, ProgressToWindow(dlg))
                                           : static_cast<int>(UPGRADE_STARTED);
    RemoveFile(image);
    return state == UPGRADE_STARTED ? kUpgradeNoBridge : state;
}

// The service's firmware version for the model folder; empty unless the reply is a version of
// 1 to 9 characters (no version is guessed: a guess could flash the wrong firmware).
// `reached` tells whether the service answered at all.
std::wstring FetchFirmwareVersion(KeyboardDlg& dlg, bool& reached)
{
    UpdateDownloader downloader;
    std::wstring reply;
    const int result = downloader.FetchText(FirmwareAddress(dlg, L"version"), reply);
    reached = downloader.LastStatus() != 0;
    if (result != UpdateDownloader::kComplete) {
        return {};
    }
    return CleanVersionText(reply, kFirmwareVersionMax, true);
}

}  // namespace

std::wstring KeyboardDlg::DownloadFirmwarePackage(const std::wstring& version, int& failure)
{
    failure = UPGRADE_NO_IMAGE;
    if (version.empty()) {
        return {};
    }
    const std::wstring name = L"firmware-" + version + L".zip";
    const std::wstring address = FirmwareAddress(*this, name);
    const std::wstring target = GetDataFolder() + L"temp/";
    CreateDirectoryTree(target);
    const std::wstring package = target + name;
    RemoveFile(package);
    const int result = updates.downloader.DownloadFile(
        address, package, [this](int percent) { PostMessage(WM_TRAY_NOTIFY, 0, percent); });
    if (result != UpdateDownloader::kComplete || !FileExists(package)) {
        if (result == UpdateDownloader::kFailed && updates.downloader.LastStatus() == 0) {
            failure = kUpgradeServiceUnreachable;
        }
        return {};
    }
    const std::wstring image = target + L"firmware-" + version + L".bin";
    RemoveFile(image);
    // A package that does not match its published digest is never unpacked.
    const bool unpacked =
        PackageMatchesDigest(address, package) && UnzipAll(package, target, kFirmwarePackageLimits);
    RemoveFile(package);
    if (!unpacked || !FileExists(image)) {
        RemoveFile(image);
        return {};
    }
    return image;
}

int KeyboardDlg::UpgradeFirmware()
{
    std::wstring version;
    {
        std::lock_guard lock(updates.mutex);
        version = updates.firmwareServerVersion;
    }
    int failure = UPGRADE_NO_IMAGE;
    const std::wstring image = DownloadFirmwarePackage(version, failure);
    if (image.empty()) {
        return failure;
    }
    // An image no boot loader takes is refused while the keyboard still runs.
    if (LoadFirmwareImage(image, HidUpgrader::kImageCapacity).empty()) {
        RemoveFile(image);
        return UPGRADE_NO_IMAGE;
    }
    const bool fixedIds = connection.currentModelId.load() == kFixedIdModel;
    if (fixedIds) {
        SendEnterBootloader(kKeyboardVendorId, kEnterBootProductId);
    }
    uint16_t bootVendor = fixedIds ? kKeyboardVendorId : 0;
    uint16_t bootProduct = fixedIds ? kBootProductId : 0;
    uint16_t foundVendor = 0;
    uint16_t foundProduct = 0;
    if (DeviceManager::OpenBootDevice(foundVendor, foundProduct) != nullptr) {
        bootVendor = foundVendor;
        bootProduct = foundProduct;
    }
    if (bootVendor != 0 || bootProduct != 0) {
        const int state = FlashOverBootLoader(*this, bootVendor, bootProduct, image);
        if (state == UPGRADE_DONE) {
            RemoveFile(image);
        } else {
            // The keyboard waits in its boot loader: the recovery knows where to find it.
            std::lock_guard lock(model.mutex);
            model.bootVendorId = bootVendor;
            model.bootProductId = bootProduct;
        }
        return state;
    }
    return FlashOverBridge(*this, image);
}

// The recoveries' package: the version the service names now, and its image.
std::wstring KeyboardDlg::DownloadRecoveryPackage(int& failure)
{
    bool reached = false;
    const std::wstring version = FetchFirmwareVersion(*this, reached);
    if (!reached) {
        failure = kUpgradeServiceUnreachable;
        return {};
    }
    return DownloadFirmwarePackage(version, failure);
}

int KeyboardDlg::RecoverFirmwareCh375()
{
    int failure = UPGRADE_NO_IMAGE;
    const std::wstring image = DownloadRecoveryPackage(failure);
    if (image.empty()) {
        return failure;
    }
    return FlashOverBridge(*this, image);
}

int KeyboardDlg::RecoverFirmwareHid()
{
    uint16_t bootVendor = 0;
    uint16_t bootProduct = 0;
    {
        std::lock_guard lock(model.mutex);
        bootVendor = static_cast<uint16_t>(model.bootVendorId);
        bootProduct = static_cast<uint16_t>(model.bootProductId);
        const auto layout = model.layoutByUsbId.find(UsbIdKey(bootVendor, bootProduct));
        if (layout != model.layoutByUsbId.end()) {
            std::lock_guard updateLock(updates.mutex);
            updates.modelFolder = layout->second.first;
        }
    }
    int failure = UPGRADE_NO_IMAGE;
    const std::wstring image = DownloadRecoveryPackage(failure);
    if (image.empty()) {
        return failure;
    }
    const int state = FlashOverBootLoader(*this, bootVendor, bootProduct, image);
    RemoveFile(image);
    return state;
}
