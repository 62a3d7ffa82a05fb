// Control notifications and window messages of the main window, page changes, popups, the
// upgrade progress timer and the window drag.
#include <algorithm>
#include <iterator>
#include <string>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "keys/KeyPageControls.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/WindowServices.h"
#include "platform/os/ReleaseFreeMemory.h"
#include "platform/os/ShellOpen.h"
#include "update/UpdateTipDlg.h"

namespace {

constexpr int kMessageBoxCloseCode = 2;
constexpr WPARAM kMacroHookStopPopups = 1;

bool IsProfileCombo(unsigned id)
{
    const auto& others = KeyPageId::kOtherProfileCombos;
    return id == KeyPageId::kProfileCombo ||
           std::find(std::begin(others), std::end(others), id) != std::end(others);
}

// The profile-file buttons of every editing page: key page, advanced keys (111, 112),
// lighting (146, 147), macros and performance.
constexpr unsigned kMacroPageImport = 222;
constexpr unsigned kMacroPageExport = 223;
constexpr struct {
    unsigned importButton;
    unsigned exportButton;
} kProfileFileButtons[] = {{KeyPageId::kImportProfile, KeyPageId::kExportProfile},
                           {111, 112},
                           {146, 147},
                           {kMacroPageImport, kMacroPageExport},
                           {PerfPageId::kImportProfile, PerfPageId::kExportProfile}};

enum class ProfileFileButton { kNone, kImport, kExport };

ProfileFileButton ProfileFileButtonOf(unsigned id)
{
    for (const auto& pair : kProfileFileButtons) {
        if (id == pair.importButton) return ProfileFileButton::kImport;
        if (id == pair.exportButton) return ProfileFileButton::kExport;
    }
    return ProfileFileButton::kNone;
}

}  // namespace

int KeyboardDlg::OnMessage(unsigned id, int code, LPARAM value)
{
    const HandlerWriteWatch::Scope handler(worker.handlerWrites);
    if (id == MainId::kTabCtrl) {
        return OnPageChanged(static_cast<int>(value));
    }
    if (code == MUI::kNotifyEditEnded && IsProfileCombo(id)) {
        // A profile name edited in place: stored (or restored) before the page sees it.
        EndRenameProfile(id);
        return 1;
    }
    if (const ProfileFileButton button = ProfileFileButtonOf(id);
        code == MUI::kNotifyClick && button != ProfileFileButton::kNone) {
        if (button == ProfileFileButton::kImport) {
            ImportProfile();
        } else {
            ExportProfile();
        }
        // The macro page's pair answers 0, as the page's other buttons do.
        return id == kMacroPageImport || id == kMacroPageExport ? 0 : 1;
    }
    if (id >= KeyPageId::kProfileCombo && id <= KeyPageId::kKeyValues) {
        return OnKeyPageMessage(id, code, value);  // filters the codes per control itself
    }
    if (id >= MacroPageId::kFirst && id <= MacroPageId::kLast) {
        return OnMacroPageMessage(id, code, value);  // filters the codes per control itself
    }
    if (id >= LightPageId::kFirst && id <= LightPageId::kLast) {
        return OnLightPageMessage(id, code, value);  // filters the codes per control itself
    }
    if (id >= AdvKeyPageId::kFirst && id <= AdvKeyPageId::kLast) {
        return OnAdvKeyPageMessage(id, code, value);  // filters the codes per control itself
    }
    if (id >= PerfPageId::kFirst && id <= PerfPageId::kLast) {
        return OnPerfPageMessage(id, code, value);  // filters the codes per control itself
    }
    if (code != MUI::kNotifyClick) {
        return 0;
    }
    if (const std::optional<int> handled = OnSettingsPageMessage(id)) {
        return *handled;
    }
    switch (id) {
        case MainId::kCloseButton:
            OnCloseCommand();
            return 1;
        case MainId::kMaximizeButton:
        case MainId::kMinimizeButton:
            return MDialog::OnMessage(id, code, value);
        case MainId::kStoreLink:
            os::ShellOpen(info.storeLink);
            return 1;
        case MainId::kSetSoftwareVersion:
        case MainId::kSetCheckSoftware:
            return OnCheckSoftwareUpdate(id);
        case MainId::kSetFirmwareVersion:
        case MainId::kSetCheckFirmware:
            return OnCheckFirmwareUpdate(id);
        default:
            // The pages' controls are routed here as their pages are built.
            return 0;
    }
}

LRESULT KeyboardDlg::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HandlerWriteWatch::Scope handler(worker.handlerWrites);
    switch (message) {
        case WM_COMMAND:
            if (wParam == kTrayExitCommand) {
                // The flash's progress window stays up while the exit waits for it.
                if (ExitWaitsForFlash(true)) {
                    return 0;
                }
                CloseAllPopups();
                RemoveTrayIcon();
                ExitProcess(0);
                return 0;
            }
            break;
        case WM_DEVICECHANGE:
            if (lParam != 0) {
                // Sent in-process with the record itself.
                return OnDeviceChangeMessage(
                    wParam, reinterpret_cast<const DeviceInterfaceRecord*>(lParam));
            } else {
                // Posted by the device monitor: the record waits in the pending list.
                std::pair<WPARAM, DeviceInterfaceRecord> change;
                {
                    std::lock_guard lock(deviceNotify.mutex);
                    if (deviceNotify.pending.empty()) {
                        return 0;
                    }
                    change = std::move(deviceNotify.pending.front());
                    deviceNotify.pending.pop_front();
                }
                return OnDeviceChangeMessage(change.first, &change.second);
            }
        case WM_CALIBRATION_KEY:
            return 1;
        case WM_TRAY_NOTIFY:
            return OnTrayIconMessage(lParam);
        case WM_APP_EXIT:
            if (lParam == kAppExitCode) {
                OnExitMessage(lParam);
            }
            return 0;
        case WM_UPGRADE_PROGRESS:
            // The upgraders send their state with the percent.
            popups.reportedPercent = static_cast<int>(wParam);
            popups.upgradeKind = static_cast<int>(lParam);
            return 1;
        case WM_ADVKEY_CLOSED:
            // The editor left its key-selection step: clicks no longer pick keys.
            if (advKeyPage.keyboard != nullptr) advKeyPage.keyboard->SetPickFlag(0);
            return 1;
        case WM_INPUT:
            // Raw input is registered only while the advanced-key page is shown; it never
            // swallows the key.
            if (page.currentPage.load() == PAGE_ADVANCED_KEYS) OnRawInput(wParam, lParam);
            return 0;
        case WM_OPEN_ADVKEY_EDITOR:
            return OpenAdvKeyEditor(advKeyPage.armedType);
        case WM_ADVKEY_SAVED:
            return RefreshAdvKeyOverview(static_cast<int>(lParam));
        case WM_ADVKEY_CANCELLED:
            OnAdvKeyEditorCancelled();
            return 0;
        case WM_ADVKEY_PROFILE_MENU:
            OnAdvKeyProfileMenu(static_cast<int>(wParam));
            return 1;
        case WM_DROP_KEYFUNC:
            DropKeyFuncOnKey(lParam);
            return 0;
        case WM_UPDATE_NOTIFY:
            return OnUpdateNotify(wParam, lParam);
        case WM_CUSTOMKEY_MENU:
            OnCustomKeyMenuCommand(static_cast<int>(wParam));
            return 0;
        case WM_PERF_MENU:
            OnPerfMenuCommand(static_cast<int>(wParam));
            return 0;
        case WM_HOOK_KEY_EVENT:
            return OnMacroHookKey(wParam, lParam);
        case WM_MACRO_MENU_COMMAND:
            OnMacroMenuCommand(static_cast<int>(lParam));
            return 0;
        case WM_MACRO_HOOK_STOP:
            OnMacroHookStop(wParam);
            return 0;
        case WM_LIGHT_MENU_COMMAND:  // the lighting page's popup menu
            OnLightMenuCommand(static_cast<int>(wParam));
            return 0;
        default:
            break;
    }
    return MDialog::OnWindowMessage(message, wParam, lParam);
}

int KeyboardDlg::OnPageChanged(int tabIndex)
{
    const bool leavingPerformance = page.currentPage.load() == PAGE_PERFORMANCE;
    if (leavingPerformance) {
        // A calibration belongs to the page: it ends with it, releasing the keys.
        EndKeyCalibration();
    }
    const int newPage = ui.tabCtrl != nullptr ? ui.tabCtrl->GetItemID(tabIndex) : -1;
    if (page.currentPage.load() == PAGE_ADVANCED_KEYS && newPage != PAGE_ADVANCED_KEYS) {
        EnterAdvKeyPage(false);
    } else if (newPage == PAGE_ADVANCED_KEYS && page.currentPage.load() != PAGE_ADVANCED_KEYS) {
        EnterAdvKeyPage(true);
    }
    switch (newPage) {
        case PAGE_HOME:
            if (ui.tabCtrl != nullptr) {
                ui.tabCtrl->SetVisible(false);
            }
            if (ui.background != nullptr) {
                ui.background->SetImage(L"home_bkg.png");
            }
            break;
        case PAGE_PERFORMANCE:
            page.rememberedTab = tabIndex;
            break;
        case PAGE_LIGHTING:
            OnLightModeSelected(MUI::kNotifyClick);
            page.rememberedTab = tabIndex;
            break;
        case PAGE_KEYS:
        case PAGE_ADVANCED_KEYS:
        case PAGE_MACROS:
        case PAGE_SETTINGS:
            page.rememberedTab = tabIndex;
            break;
        default:
            break;
    }
    page.currentPage = newPage;
    // The settings block carries the performance page's debug flag only while that page is
    // shown; the worker reads the page when it builds the block, so the page is set first.
    if (leavingPerformance) {
        QueueCommand(QCMD_WRITE_SETTINGS);
    }
    if (newPage == PAGE_PERFORMANCE) {
        QueueCommand(QCMD_WRITE_SETTINGS);
    }
    // What the page left behind and its first paint decoded in passing goes back to the system.
    os::ReleaseFreeMemorySoon();
    return 1;
}

void KeyboardDlg::CloseAllPopups()
{
    const auto close = [](const wchar_t* name, WPARAM wParam) {
        if (const HWND window = MUI::FindWindow(L"MWindow", name)) {
            MUI::PostMessage(window, WM_CLOSE, wParam, 0);
        }
    };
    const auto hide = [](const wchar_t* name) {
        if (const HWND window = MUI::FindWindow(L"MWindow", name)) {
            MUI::ShowWindow(window, SW_HIDE);
        }
    };
    for (const wchar_t* name :
         {L"CloseWindowTipDlg", L"CustomKeyDKSDlg", L"CustomKeyDKSTipsDlg", L"CustomKeyStrokeDlg",
          L"StrokeCheckDlg", L"StrokeTestDlg", L"CustomKeyDlg"}) {
        close(name, 0);
    }
    if (connection.deviceOpened.load()) {
        close(L"MessageBox", kMessageBoxCloseCode);
    }
    close(L"WaitDlg", 0);
    close(L"Menu Window", 0);
    hide(L"KeyboardTip Window");
    hide(L"ComboWnd");
    close(L"SystemSettingDlg", 0);
    close(L"UpdateTipDlg", 0);
    // A recording stops (keeping its steps) and the key box lets the keyboard go, on the UI
    // thread: this may run on the worker.
    PostMessage(WM_MACRO_HOOK_STOP, kMacroHookStopPopups, 0);
    EndKeyCalibration();
    // The registered update dialog is asked to end; its object stays registered until the next
    // one replaces it, since its modal run may still be unwinding on the UI thread.
    std::lock_guard lock(popups.mutex);
    if (popups.updateTipDlg) {
        popups.updateTipDlg->DoOK();
    }
}

void KeyboardDlg::OnTimer(unsigned id)
{
    if (OnCalibrationTimer(id)) {
        return;
    }
    if (id != kUpgradeProgressTimer) {
        MDialog::OnTimer(id);
        return;
    }
    // The displayed progress climbs by at most one a tick towards the reported percent.
    if (popups.reportedPercent.load() >= popups.displayedCounter) {
        ++popups.displayedCounter;
    }
    const std::wstring text = GetLanString(1058 + popups.upgradeKind.load());
    std::lock_guard lock(popups.mutex);
    if (popups.updateTipDlg) {
        popups.updateTipDlg->SetProgress(popups.displayedCounter, text);
    }
}

int KeyboardDlg::OnLButtonDown(WPARAM, int x, int y)
{
    // A press on the background moves the window, as a press on a caption would.
    const LPARAM point = static_cast<LPARAM>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                                             static_cast<uint32_t>(x & 0xFFFF));
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, point);
    return 0;
}
