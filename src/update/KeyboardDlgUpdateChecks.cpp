// The settings page's version checks: the clicks that queue them and the worker routines that
// ask the update service. Every check is one the user asked for, so one that learns no version
// (the service not reached, no usable reply) is told; the firmware job's own look at the
// service reports through the job's end.
#include <cstdio>
#include <string>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "device/DeviceManager.h"
#include "update/UpdateNotify.h"
#include "update/UpdateState.h"
#include "update/VersionText.h"

namespace {

using namespace MainId;

// The longest version texts taken from the service.
constexpr size_t kSoftwareVersionMax = 10;
constexpr size_t kFirmwareVersionMax = 9;
// How long a check control stays disabled after its click.
constexpr int kClickGuardMs = 100;

constexpr int kTextLatest = 1052;
constexpr int kTextNewVersion = 1053;

std::wstring NewVersionText(const std::wstring& version)
{
    return GetLanString(kTextNewVersion) + L":v" + version;
}

// The clicked control is disabled while its check is queued, so a second quick click is not
// taken as another request.
int QueueCheck(KeyboardDlg& dlg, unsigned controlId, int code)
{
    MUI::MControl* control = dlg.GetControl(controlId);
    if (control != nullptr) {
        control->SetEnabled(false);
    }
    dlg.QueueCommand(code);
    dlg.worker.pause(kClickGuardMs);
    if (control != nullptr) {
        control->SetEnabled(true);
    }
    return 1;
}

}  // namespace

int KeyboardDlg::OnCheckSoftwareUpdate(unsigned controlId)
{
    return QueueCheck(*this, controlId, QCMD_CHECK_SOFTWARE);
}

int KeyboardDlg::OnCheckFirmwareUpdate(unsigned controlId)
{
    return QueueCheck(*this, controlId, QCMD_CHECK_FIRMWARE);
}

void KeyboardDlg::CheckSoftwareVersion()
{
    {
        std::lock_guard lock(updates.mutex);
        updates.softwareServerVersion.clear();
    }
    UpdateDownloader downloader;
    std::wstring reply;
    const std::wstring server = downloader.FetchText(info.softwareUpdateBase + L"version", reply) ==
                                        UpdateDownloader::kComplete
                                    ? CleanVersionText(reply, kSoftwareVersionMax)
                                    : std::wstring();
    if (server.empty()) {
        // Nothing else changes: the state and the page's label stay.
        PostMessage(WM_UPDATE_NOTIFY, kNotifyCheckFailed, kNotifySoftwareChecked);
        return;
    }
    {
        std::lock_guard lock(updates.mutex);
        updates.softwareServerVersion = server;
    }
    MUI::MControl* label = GetControl(kSetSoftwareHint);
    if (CompareVersion(info.softwareVersion, server) >= VERSION_OLDER) {
        updates.softwareState = UPDATE_AVAILABLE;
        if (label != nullptr) {
            label->SetTitle(NewVersionText(server));
        }
        PostMessage(WM_UPDATE_NOTIFY, 1, 1);
    } else {
        updates.softwareState = UPDATE_NONE;
        if (label != nullptr) {
            label->SetTitle(GetLanString(kTextLatest));
        }
        PostMessage(WM_UPDATE_NOTIFY, 1, 0);
    }
}

bool KeyboardDlg::CheckFirmwareVersion()
{
    std::wstring modelFolder;
    {
        std::lock_guard lock(updates.mutex);
        updates.firmwareServerVersion.clear();
        modelFolder = updates.modelFolder;
    }
    // Without a keyboard there is no version to compare with.
    if (!connection.deviceFound.load() || !connection.deviceOpened.load()) {
        return false;
    }
    const int release = DeviceManager::GetInstance().GetCurrentReleaseNumber();
    if (release <= 0) {
        return false;
    }
    UpdateDownloader downloader;
    std::wstring reply;
    const std::wstring address =
        info.firmwareUpdateBase + (modelFolder.empty() ? L"" : modelFolder + L"/") + L"version";
    const std::wstring server = downloader.FetchText(address, reply) == UpdateDownloader::kComplete
                                    ? CleanVersionText(reply, kFirmwareVersionMax, true)
                                    : std::wstring();
    if (server.empty()) {
        PostMessage(WM_UPDATE_NOTIFY, kNotifyCheckFailed, kNotifyFirmwareChecked);
        return false;
    }
    {
        std::lock_guard lock(updates.mutex);
        updates.firmwareServerVersion = server;
    }
    wchar_t keyboard[16];
    std::swprintf(keyboard, std::size(keyboard), L"%x", static_cast<unsigned>(release));
    MUI::MControl* label = GetControl(kSetFirmwareHint);
    // The keyboard's release number is printed in hexadecimal, so the texts compare so too.
    if (CompareVersion(keyboard, server, 16) >= VERSION_OLDER) {
        updates.firmwareState = UPDATE_AVAILABLE;
        if (label != nullptr) {
            label->SetTitle(NewVersionText(server));
        }
        PostMessage(WM_UPDATE_NOTIFY, 2, 1);
        return true;
    }
    updates.firmwareState = UPDATE_NONE;
    if (label != nullptr) {
        label->SetTitle(GetLanString(kTextLatest));
    }
    PostMessage(WM_UPDATE_NOTIFY, 2, 0);
    return false;
}
