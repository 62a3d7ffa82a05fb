// A keyboard that needs its firmware restored: a CH375 bridge, or a keyboard waiting in its boot
// loader, found at start or (the bridge) when it is plugged in, is offered the recovery.
#include <cwchar>
#include <cwctype>
#include <string>

#include "app/KeyboardDlg.h"
#include "device/DeviceManager.h"
#include "platform/usb/Ch375Library.h"
#include "update/Ch375Upgrader.h"
#include "update/UpdateNotify.h"

namespace {

// The boot loaders the recovery looks for, the three keyboard types' first.
constexpr uint16_t kRecoveryBootProducts[] = {0xFF36, 0xFF23, 0xFF72, 0xAF3E};

// One offer at a time: probes that meet while one is on its way or shown add none.
void OfferRecovery(KeyboardDlg& dlg, unsigned kind, int type)
{
    if (!dlg.updates.recoveryOffered.exchange(true)) {
        dlg.PostMessage(WM_UPDATE_NOTIFY, kind, type);
    }
}

// The bridge library's callback (its own thread): a bridge that came or went is looked for
// again, and one that is there is offered.
void OnUpgradeBridgeNotify(KeyboardDlg& dlg, int event)
{
    if (event != usb::Ch375Library::kEventArrived && event != usb::Ch375Library::kEventRemoved) {
        return;
    }
    if (Ch375Upgrader::GetInstance().EnumDevices()) {
        OfferRecovery(dlg, kNotifyBridgeFound, 0);
    }
}

}  // namespace

void KeyboardDlg::ProbeBootMode()
{
    // The bridge is found through its own library (it shows no HID interface).
    if (Ch375Upgrader::GetInstance().EnumDevices()) {
        OfferRecovery(*this, kNotifyBridgeFound, 0);
    } else {
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        if (DeviceManager::OpenBootDevice(vendorId, productId) != nullptr) {
            {
                std::lock_guard lock(model.mutex);
                model.bootVendorId = vendorId;
                model.bootProductId = productId;
            }
            OfferRecovery(*this, kNotifyBootLoaderFound, BootLoaderType(productId));
        }
    }
    if (!updates.bridgeWatched.exchange(true)) {
        usb::Ch375().SetDeviceNotify([this](int event) { OnUpgradeBridgeNotify(*this, event); });
    }
}

bool KeyboardDlg::OfferArrivedBootLoader(const std::wstring& interfaceName)
{
    std::wstring upper = interfaceName;
    for (wchar_t& c : upper) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    for (const uint16_t productId : kRecoveryBootProducts) {
        wchar_t ids[24];
        std::swprintf(ids, std::size(ids), L"VID_%04X&PID_%04X", kBootVendorId, productId);
        if (upper.find(ids) == std::wstring::npos) {
            continue;
        }
        // While a firmware job runs its own keyboard comes and goes: after a failed job it is
        // looked for once the failure is told.
        if (!info.upgradeRunning.load()) {
            QueueCommand(QCMD_PROBE_BOOT_MODE);
        }
        return true;
    }
    return false;
}
