// What the main window does with the outcome of an update check: the questions to the user,
// the jobs queued on a yes, and the progress window of the firmware jobs.
#include <cstdio>
#include <string>

#include "app/AppExitMessage.h"
#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "update/UpdateNotify.h"
#include "update/UpdateTipDlg.h"
#include "update/UpgradeState.h"

namespace {

constexpr int kTextSoftwareCaption = 1050;
constexpr int kTextFirmwareCaption = 1051;
constexpr int kTextLatest = 1052;
constexpr int kTextNewVersion = 1053;
constexpr int kTextUpdateNow = 1054;
constexpr int kTextBridgeFound = 1055;
constexpr int kTextUpdating = 1056;
constexpr int kTextBootLoaderFound = 1057;
constexpr int kTextUpgradeState = 1058;  // + UpgradeState
constexpr int kTextNoBridge = 1069;
constexpr int kTextNoBootLoader = 1070;
constexpr int kTextServiceUnreachable = 1071;
// Why a software package was not installed, by SoftwareRefusal.
constexpr struct {
    int reason;
    int text;
} kSoftwareRefusalTexts[] = {
    {kSoftwareUnreachable, kTextServiceUnreachable},
    {kSoftwareNotDownloaded, 1072},
    {kSoftwareBadDigest, 1073},
    {kSoftwareUnsafePackage, 1074},
    {kSoftwareNoInstaller, 1075},
};

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
    // An offer of the recovery lasts through its job; a later probe may offer again.
    struct OfferEnd {
        std::atomic<bool>& offered;
        bool active;
        ~OfferEnd()
        {
            if (active) {
                offered = false;
            }
        }
    } offerEnd{updates.recoveryOffered,
               kind == kNotifyBootLoaderFound || kind == kNotifyBridgeFound};
    switch (kind) {
        case kNotifySoftwareChecked:
            if (value == 0) {
                ask(GetLanString(kTextLatest), kTextSoftwareCaption, kMessageBoxOneButton);
            } else if (ask(offer(software), kTextSoftwareCaption, kMessageBoxTwoButtons) ==
                       kMessageBoxYes) {
                QueueCommand(QCMD_INSTALL_SOFTWARE);
            }
            break;
        case kNotifyFirmwareChecked:
            if (value == 0) {
                ask(GetLanString(kTextLatest), kTextFirmwareCaption, kMessageBoxOneButton);
            } else if (ask(offer(firmware), kTextFirmwareCaption, kMessageBoxTwoButtons) ==
                       kMessageBoxYes) {
                QueueCommand(QCMD_UPGRADE_FIRMWARE);
                ShowUpdateTip();
            }
            break;
        case kNotifyCheckFailed:
            ask(GetLanString(kTextServiceUnreachable),
                value == kNotifyFirmwareChecked ? kTextFirmwareCaption : kTextSoftwareCaption,
                kMessageBoxOneButton);
            break;
        case kNotifyBootLoaderFound:
            if (info.upgradeRunning.load()) {
                break;
            }
            if (ask(GetLanString(kTextBootLoaderFound), kTextFirmwareCaption,
                    kMessageBoxTwoButtons) == kMessageBoxYes) {
                // Another type keeps the ids the probe stored.
                if (value >= 1 && value <= static_cast<LPARAM>(std::size(kBootProductIds))) {
                    std::lock_guard lock(model.mutex);
                    model.bootVendorId = kBootVendorId;
                    model.bootProductId = kBootProductIds[value - 1];
                }
                QueueCommand(QCMD_RECOVER_FIRMWARE);
                ShowUpdateTip();
            }
            break;
        case kNotifyBridgeFound:
            if (info.upgradeRunning.load()) {
                break;
            }
            if (ask(GetLanString(kTextBridgeFound), kTextFirmwareCaption, kMessageBoxTwoButtons) ==
                kMessageBoxYes) {
                QueueCommand(QCMD_UPGRADE_FIRMWARE_ALT);
                ShowUpdateTip();
            }
            break;
        case kNotifySoftwareRefused:
            for (const auto& refusal : kSoftwareRefusalTexts) {
                if (refusal.reason == value) {
                    ask(GetLanString(refusal.text), kTextSoftwareCaption, kMessageBoxOneButton);
                }
            }
            break;
        case kNotifyFirmwareJobEnded: {
            const int outcome = static_cast<int>(value);
            const int text = outcome == kUpgradeNoBridge             ? kTextNoBridge
                             : outcome == kUpgradeNoBootLoader       ? kTextNoBootLoader
                             : outcome == kUpgradeServiceUnreachable ? kTextServiceUnreachable
                                                                     : kTextUpgradeState + outcome;
            ask(GetLanString(text), kTextFirmwareCaption, kMessageBoxOneButton);
            if (outcome != UPGRADE_DONE) {
                // Once the failure is read, a keyboard left waiting in its boot loader (or the
                // bridge) is offered the recovery.
                QueueCommand(QCMD_PROBE_BOOT_MODE);
            }
            break;
        }
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
    // Set for the whole job and cleared on every way out, so that the bridge's and the boot
    // loader's prompts wait for it and come back after it.
    info.upgradeRunning = true;
    SetTimer(kUpgradeProgressTimer, recovery ? kRecoveryTimerMs : kUpgradeTimerMs);
    if (recovery) {
        EnableWindow(false);
    }
    int outcome = UPGRADE_NO_IMAGE;
    switch (code) {
        case QCMD_UPGRADE_FIRMWARE:
            outcome = UpgradeFirmware();
            break;
        case QCMD_UPGRADE_FIRMWARE_ALT:
            outcome = RecoverFirmwareCh375();
            break;
        default:
            outcome = RecoverFirmwareHid();
            break;
    }
    KillTimer(kUpgradeProgressTimer);
    worker.pause(recovery ? kAfterRecoveryMs : kAfterUpgradeMs);
    CloseUpdateTip();
    worker.pause(kAfterUpgradeMs);
    if (recovery) {
        EnableWindow(true);
    }
    info.upgradeRunning = false;
    if (info.exitAfterUpgrade.load()) {
        // An exit was put off for the flash: it comes now, told how the flash ended.
        std::fprintf(stderr, "The firmware upgrade ended (%d); the program ends\n", outcome);
        PostMessage(WM_APP_EXIT, 0, kAppExitCode);
        return;
    }
    // The user is told how it ended: a failed flash is never taken for a finished one.
    PostMessage(WM_UPDATE_NOTIFY, kNotifyFirmwareJobEnded, outcome);
}
