// A keyboard that needs its firmware restored: a CH375 bridge, or a keyboard waiting in its boot
// loader, found at start or (the bridge) when it is plugged in, is offered the recovery.
#include "app/KeyboardDlg.h"
#include "device/DeviceManager.h"
#include "platform/usb/Ch375Library.h"
#include "update/Ch375Upgrader.h"
#include "update/UpdateNotify.h"

namespace {

// The bridge library's callback (its own thread): a bridge that came or went is looked for
// again, and one that is there is offered.
void OnUpgradeBridgeNotify(KeyboardDlg& dlg, int event)
{
    if (event != usb::Ch375Library::kEventArrived && event != usb::Ch375Library::kEventRemoved) {
        return;
    }
    if (Ch375Upgrader::GetInstance().EnumDevices()) {
        dlg.PostMessage(WM_UPDATE_NOTIFY, kNotifyBridgeFound, 0);
    }
}

}  // namespace

void KeyboardDlg::ProbeBootMode()
{
    if (DeviceManager::OpenWchIspDevice() != nullptr) {
        // Only a sign that the bridge is there; the upgrade opens it through its own library.
        if (Ch375Upgrader::GetInstance().EnumDevices()) {
            PostMessage(WM_UPDATE_NOTIFY, kNotifyBridgeFound, 0);
        }
    } else {
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        if (DeviceManager::OpenBootDevice(vendorId, productId) != nullptr) {
            {
                std::lock_guard lock(model.mutex);
                model.bootVendorId = vendorId;
                model.bootProductId = productId;
            }
            PostMessage(WM_UPDATE_NOTIFY, kNotifyBootLoaderFound, BootLoaderType(productId));
        }
    }
    usb::Ch375().SetDeviceNotify([this](int event) { OnUpgradeBridgeNotify(*this, event); });
}
