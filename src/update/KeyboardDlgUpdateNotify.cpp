// What the main window does with the outcome of an update check: the questions to the user,
// the jobs queued on a yes, and the progress window of the firmware jobs.
#include <string>

#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "update/UpdateTipDlg.h"

namespace {

constexpr int kYes = 1;
constexpr int kTextSoftwareCaption = 1050;
constexpr int kTextFirmwareCaption = 1051;
constexpr int kTextLatest = 1052;
constexpr int kTextNewVersion = 1053;
constexpr int kTextUpdateNow = 1054;
constexpr int kTextBridgeFound = 1055;
constexpr int kTextUpdating = 1056;
constexpr int kTextBootLoaderFound = 1057;

// Notification kinds (wParam of WM_UPDATE_NOTIFY).
constexpr WPARAM kSoftwareChecked = 1;
constexpr WPARAM kFirmwareChecked = 2;
constexpr WPARAM kBootLoaderFound = 98;
constexpr WPARAM kBridgeFound = 99;

// The boot loader's vendor id, and its product id per keyboard type.
constexpr int kBootVendorId = 0x3B6D;
constexpr int kBootProductIds[] = {0xFF36, 0xFF23, 0xFF72};

// Timer periods of the firmware jobs' progress display, and the pauses around their end.
constexpr unsigned kUpgradeTimerMs = 200;
constexpr unsigned kRecoveryTimerMs = 100;
constexpr int kAfterUpgradeMs = 100;
constexpr int kAfterRecoveryMs = 1000;

}  // namespace

LRESULT KeyboardDlg::OnUpdateNotify(WPARAM kind, LPARAM value)
{
    const auto ask = [this](const std::wstring& message, int caption, int style) {
        return ShowMessageBox(GetHWND(), message.c_str(), GetLanString(caption).c_str(), style);
    };
    const auto offer = [this](const std::wstring& version) {
        return GetLanString(kTextNewVersion) + L":v" + version + L", " +
               GetLanString(kTextUpdateNow);
    };
    std::wstring software;
    std::wstring firmware;
    {
        std::lock_guard lock(updates.mutex);
        software = updates.softwareServerVersion;
        firmware = updates.firmwareServerVersion;
    }
    switch (kind) {
        case kSoftwareChecked:
            if (value == 0) {
                ask(GetLanString(kTextLatest), kTextSoftwareCaption, kMessageBoxOneButton);
            } else if (ask(offer(software), kTextSoftwareCaption, kMessageBoxTwoButtons) == kYes) {
                QueueCommand(QCMD_INSTALL_SOFTWARE);
            }
            break;
        case kFirmwareChecked:
            if (value == 0) {
                ask(GetLanString(kTextLatest), kTextFirmwareCaption, kMessageBoxOneButton);
            } else if (ask(offer(firmware), kTextFirmwareCaption, kMessageBoxTwoButtons) == kYes) {
                QueueCommand(QCMD_UPGRADE_FIRMWARE);
                ShowUpdateTip();
            }
            break;
        case kBootLoaderFound:
            if (info.upgradeRunning.load()) {
                break;
            }
            if (ask(GetLanString(kTextBootLoaderFound), kTextFirmwareCaption,
                    kMessageBoxTwoButtons) == kYes) {
                if (value >= 1 && value <= static_cast<LPARAM>(std::size(kBootProductIds))) {
                    std::lock_guard lock(model.mutex);
                    model.bootVendorId = kBootVendorId;
                    model.bootProductId = kBootProductIds[value - 1];
                }
                QueueCommand(QCMD_RECOVER_FIRMWARE);
                ShowUpdateTip();
            }
            break;
        case kBridgeFound:
            if (info.upgradeRunning.load()) {
                break;
            }
            if (ask(GetLanString(kTextBridgeFound), kTextFirmwareCaption, kMessageBoxTwoButtons) ==
                kYes) {
                QueueCommand(QCMD_UPGRADE_FIRMWARE_ALT);
                ShowUpdateTip();
            }
            break;
        default:
            break;
    }
    return 0;
}

void KeyboardDlg::ShowUpdateTip()
{
    popups.reportedPercent = 0;
    popups.upgradeKind = 0;
    popups.displayedCounter = 0;
    auto dialog = std::make_unique<UpdateTipDlg>(GetLanString(kTextUpdating));
    UpdateTipDlg* shown = dialog.get();
    {
        std::lock_guard lock(popups.mutex);
        popups.updateTipDlg = std::move(dialog);
    }
    // Only the next progress window on this thread replaces it, so it lives through its run.
    shown->ShowTip();
}

void KeyboardDlg::CloseUpdateTip()
{
    std::lock_guard lock(popups.mutex);
    if (popups.updateTipDlg) {
        popups.updateTipDlg->DoOK();
    }
}

void KeyboardDlg::RunFirmwareJob(int code)
{
    const bool recovery = code == QCMD_RECOVER_FIRMWARE;
    SetTimer(kUpgradeProgressTimer, recovery ? kRecoveryTimerMs : kUpgradeTimerMs);
    if (recovery) {
        EnableWindow(false);
    }
    // The flashing itself (over the boot loader or the CH375 bridge) comes with the upgraders.
    KillTimer(kUpgradeProgressTimer);
    worker.pause(recovery ? kAfterRecoveryMs : kAfterUpgradeMs);
    CloseUpdateTip();
    worker.pause(kAfterUpgradeMs);
    if (recovery) {
        EnableWindow(true);
    }
}
