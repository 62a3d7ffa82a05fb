// Finding the keyboard, following its arrivals and removals, and showing the connection state.
#include <algorithm>
#include <string>
#include <vector>

#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "app/StartupReport.h"
#include "app/UdevRuleCommand.h"
#include "device/DeviceChange.h"
#include "device/DeviceManager.h"
#include "platform/hid/HidSeam.h"
#include "platform/mui/WindowServices.h"

namespace {

constexpr int kRemovedReason = 2;
constexpr int kStatusNoKeyboard = 820;
constexpr int kStatusConnected = 821;
// Pause that lets a keyboard whose handle failed settle before the scan, as after a removal.
constexpr int kSettleMs = 1000;
// Idle steps (of about a second) between two looks for a keyboard refused for lack of access.
constexpr int kAccessRetrySteps = 2;

}  // namespace

void KeyboardDlg::ScanAndConnect(int)
{
    connection.deviceOpened = false;
    DeviceManager& device = DeviceManager::GetInstance();
    device.Rescan();

    const int stored = ReadDeviceType();
    device.SetCurrentDeviceType(0);
    std::vector<DeviceRecord*> listed;
    device.GetDeviceList(listed);

    const auto match = std::find_if(listed.begin(), listed.end(), [stored](const DeviceRecord* r) {
        return r->deviceType == stored;
    });
    if (match != listed.end()) {
        if (!(*match)->productString.empty() && ui.modelCombo != nullptr) {
            ui.modelCombo->SetTitle((*match)->productString);
        }
        device.SetCurrentDeviceType(stored);
    } else if (!listed.empty() && ui.modelCombo != nullptr) {
        ui.modelCombo->SelectData(listed.front()->deviceType);
        ui.modelCombo->SetTitle(listed.front()->productString);
    }

    bool opened = false;
    {
        std::lock_guard lock(model.mutex);
        for (DeviceModel& entry : model.interfaces) {
            const int status = device.FindDeviceValue(entry.vendorId, entry.productId);
            entry.connected = status >= 0 ? 1 : 0;
            opened = opened || status > 0;
        }
    }
    connection.deviceOpened = opened;
    if (ui.modelCombo != nullptr) {
        WriteDeviceType(ui.modelCombo->GetCurData());
    }
    connection.deviceFound = !listed.empty();
}

void KeyboardDlg::OnConnectionChanged(int reason)
{
    CloseAllPopups();
    if (connection.deviceFound.load() && reason != kRemovedReason) {
        const int modelId = ui.modelCombo != nullptr ? ui.modelCombo->GetCurData() : 0;
        DeviceManager& device = DeviceManager::GetInstance();
        device.SetCurrentDeviceType(modelId);
        WriteDeviceType(modelId);
        LoadKeyboardLayout(modelId);
        SetSwitchPrecision(modelId);
        FillSwitchTypeCombo(modelId);
        if (ui.modelCombo != nullptr) {
            connection.selectedModelIndex = ui.modelCombo->GetCurSel();
        }
        const int kind = device.GetConnectionKind();
        connection.connectionKind = kind;
        if (kind != 1 && kind != 2) {
            connection.deviceOpened = true;
            SetStatusTitle(kStatusConnected);
            QueueCommand(QCMD_LOAD_FROM_DEVICE);
            QueueCommand(QCMD_AFTER_LOAD);
        }
    } else {
        ShowHomePanel();
        if (ui.background != nullptr) {
            ui.background->SetImage(L"home_bkg.png");
        }
        connection.connectionKind = -1;
        SetStatusTitle(DeviceManager::GetInstance().AccessDenied() ? MainId::kStatusNoAccessText
                                                                   : kStatusNoKeyboard);
    }
    connection.pendingChange = 0;
    ReportState();
}

void KeyboardDlg::RecoverFailedHandle()
{
    // A keyboard pulled out fails its handle and is also told as a removal, whose step scans
    // again; a handle that fails while its interface stays listed is told nothing, and the
    // program would hold the dead handle for good. It is taken as a removal: the handles are
    // closed and the keyboard shown as gone; after the settling pause it is looked for anew,
    // as its arrival would have it, unless a change told meanwhile has its own step coming.
    DeviceManager::GetInstance().CloseAllDevices();
    connection.deviceFound = false;
    connection.deviceOpened = false;
    {
        std::lock_guard lock(model.mutex);
        for (DeviceModel& entry : model.interfaces) {
            entry.connected = 0;
        }
    }
    OnConnectionChanged(kRemovedReason);
    worker.pause(kSettleMs);
    {
        std::lock_guard lock(deviceNotify.mutex);
        if (connection.pendingChange.load() != 0 || !deviceNotify.arrivals.empty()) {
            return;
        }
    }
    ScanAndConnect(connection.lastChangeModelId.load());
    OnConnectionChanged(0);
}

void KeyboardDlg::RetryRefusedKeyboard()
{
    DeviceManager& device = DeviceManager::GetInstance();
    if (!connection.firstConnectDone || !device.AccessDenied() ||
        --connection.accessRetrySteps > 0) {
        return;
    }
    connection.accessRetrySteps = kAccessRetrySteps;
    ScanAndConnect(connection.lastChangeModelId.load());
    // Only a change is shown: the panel, and any popup open on it, stay as long as the
    // keyboard is still refused.
    if (connection.deviceFound.load() || !device.AccessDenied()) {
        OnConnectionChanged(0);
    }
}

void KeyboardDlg::ShowHomePanel()
{
    if (ui.tabCtrl != nullptr) {
        ui.tabCtrl->SetVisible(false);
        ui.tabCtrl->SetCurSel(0);
    }
    if (ui.homePage != nullptr) {
        ui.homePage->SetVisible(true);
    }
    // The panel starts over from the "no keyboard" picture, not the last load's progress.
    ShowNoConnectProgress(0);
    page.currentPage = PAGE_HOME;
}

void KeyboardDlg::ShowLoadedPages()
{
    if (ui.homePage != nullptr) {
        ui.homePage->SetVisible(false);
    }
    if (ui.background != nullptr) {
        ui.background->SetImage(L"main_bkg.png");
    }
    if (ui.tabCtrl != nullptr) {
        ui.tabCtrl->SetVisible(true);
        ui.tabCtrl->SetCurSel(page.rememberedTab.load());
        page.currentPage = ui.tabCtrl->GetCurItemID();
    }
    // The status keeps saying that the keyboard is connected.
    SetStatusTitle(kStatusConnected);
    static std::atomic<bool> reported{false};
    if (!reported.exchange(true)) {
        ReportStartupMilestone("tabs");
    }
}

void KeyboardDlg::SetStatusTitle(int textId)
{
    connection.statusTextId = textId;
    if (ui.statusTitle != nullptr) {
        std::wstring text = GetLanString(textId);
        if (textId == MainId::kStatusNoAccessText) {
            text += L"\n" + UdevRuleCommand(GetModuleFolder());
        }
        ui.statusTitle->SetTitle(text);
        ui.statusTitle->SetRect(StatusTextRect(GetClientRect()));
    }
}

void KeyboardDlg::ShowNoConnectProgress(int shown)
{
    for (int i = 0; i < 3; ++i) {
        if (ui.noConnectPictures[i] != nullptr) {
            ui.noConnectPictures[i]->SetVisible(i == shown);
        }
    }
}

void KeyboardDlg::RegisterDeviceNotify()
{
    if (deviceNotify.monitor) {
        return;
    }
    deviceNotify.monitor = hid::MakeDeviceMonitor();
    if (!deviceNotify.monitor) {
        return;
    }
    const HWND window = GetHWND();
    deviceNotify.monitor->Start([this, window](bool arrived, const std::wstring& name) {
        const WPARAM event = arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
        {
            std::lock_guard lock(deviceNotify.mutex);
            deviceNotify.pending.push_back({event, {DBT_DEVTYP_DEVICEINTERFACE, name}});
        }
        MUI::PostMessage(window, WM_DEVICECHANGE, event, 0);
    });
}

LRESULT KeyboardDlg::OnDeviceChangeMessage(WPARAM event, const DeviceInterfaceRecord* header)
{
    if ((event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE) && header != nullptr &&
        header->deviceType == DBT_DEVTYP_DEVICEINTERFACE) {
        OnDeviceChange(*header, event);
    }
    return 0;
}

void KeyboardDlg::OnDeviceChange(const DeviceInterfaceRecord& header, WPARAM event)
{
    const bool arrived = event == DBT_DEVICEARRIVAL;
    if (!arrived && event != DBT_DEVICEREMOVECOMPLETE) {
        return;
    }
    if (arrived && OfferArrivedBootLoader(header.name)) {
        return;
    }
    std::vector<DeviceChangeModel> models;
    {
        std::lock_guard lock(model.mutex);
        for (const DeviceModel& entry : model.interfaces) {
            models.push_back({entry.interfacePattern, entry.connected != 0});
        }
    }
    // Only the names are matched here; opening the interface can wait on the device, so the
    // worker probes it (ProbeArrival) in the queue's order.
    const DeviceChangeResult result =
        FilterDeviceChange(arrived, header.name, models, [](const std::wstring&) { return true; });
    if (result.action == DeviceChangeAction::kNone) {
        return;
    }
    if (result.action == DeviceChangeAction::kArrived) {
        {
            std::lock_guard lock(deviceNotify.mutex);
            deviceNotify.arrivals.emplace_back(header.name, result.modelIndex);
        }
        QueueCommand(QCMD_PROBE_ARRIVAL);
        return;
    }
    {
        std::lock_guard lock(model.mutex);
        if (result.modelIndex >= 0 &&
            result.modelIndex < static_cast<int>(model.interfaces.size())) {
            DeviceModel& entry = model.interfaces[result.modelIndex];
            connection.lastChangeModelId = entry.id;
            entry.connected = 0;
        }
    }
    connection.pendingChange = 2;
    QueueCommand(QCMD_DEVICE_REMOVED);
}

void KeyboardDlg::ProbeArrival()
{
    std::pair<std::wstring, int> arrival;
    {
        std::lock_guard lock(deviceNotify.mutex);
        if (deviceNotify.arrivals.empty()) {
            return;
        }
        arrival = std::move(deviceNotify.arrivals.front());
        deviceNotify.arrivals.pop_front();
    }
    if (!ProbeHidInterface(arrival.first)) {
        // A keyboard this user may not open is scanned all the same, once, so that the window
        // tells why it is not used.
        if (!hid::Backend().LastOpenDenied() || connection.deviceFound.load() ||
            connection.pendingChange.load() != 0) {
            return;
        }
    }
    {
        std::lock_guard lock(model.mutex);
        if (arrival.second >= 0 && arrival.second < static_cast<int>(model.interfaces.size())) {
            connection.lastChangeModelId = model.interfaces[arrival.second].id;
        }
    }
    connection.pendingChange = 1;
    // Next, before anything queued after the notification: the order an arrival queued at
    // once would have had.
    worker.queue.PushFront(QCMD_DEVICE_ARRIVED);
    Wake();
}
