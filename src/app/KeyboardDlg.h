// The main window and central object of the program: it owns every page's controls and state,
// is itself the worker thread that talks to the keyboard, knows the supported models and the
// connected one, and keeps the tray icon.
//
// Threads: the window's handlers run on the UI thread; Run and the routines it calls run on the
// worker. The fields both of them touch are atomics or sit behind the lock of their group.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/AppMessages.h"
#include "app/CThreadBasic.h"
#include "app/CommandQueue.h"
#include "app/DeviceModel.h"
#include "app/HandlerWriteWatch.h"
#include "app/KeyboardDef.h"
#include "app/LayoutFile.h"
#include "app/MainPage.h"
#include "app/MainWindowControls.h"
#include "app/UnsentTables.h"
#include "app/WorkerCommand.h"
#include "app/WorkerHold.h"
#include "device/KeyPerfState.h"
#include "device/KeyTableState.h"
#include "device/KeyTravelReport.h"
#include "keys/AdvKeyPageControls.h"
#include "keys/CalibrationState.h"
#include "keys/KeyPageControls.h"
#include "keys/PerfPageControls.h"
#include "lighting/LightPageControls.h"
#include "macros/MacroPageControls.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/Precision.h"
#include "platform/mui/RawInputEvent.h"
#include "storage/LightRecord.h"
#include "update/UpdateDownloader.h"

struct AdvancedKeyRemoval;
class UpdateTipDlg;
class Visualizer;
class WaitDlg;
namespace MUI {
class MComboBox;
}
namespace hid {
class DeviceMonitor;
}
namespace os {
class TrayIcon;
}
namespace MUI {
class FirstShowWatch;
class KeyboardCtrl;
struct KeyItem;
class MSlider;
class MText;
}  // namespace MUI

// What a device-interface notification carries: the header's device type and the interface
// name ("...VID_xxxx&PID_xxxx&MI_xx...").
struct DeviceInterfaceRecord {
    int deviceType = 0;
    std::wstring name;
};

class KeyboardDlg : public MUI::MDialog, public KeyboardDef, public CThreadBasic {
public:
    // Connection state. Written by the worker's connection routines, read everywhere.
    struct ConnectionState {
        std::atomic<int> selectedModelIndex{0};
        std::atomic<bool> deviceFound{false};
        std::atomic<bool> deviceOpened{false};
        std::atomic<int> lastChangeModelId{0};
        std::atomic<int> currentModelId{0};
        std::atomic<int> connectionKind{-1};
        // 0 none, 1 arrival, 2 removal.
        std::atomic<int> pendingChange{0};
        // The text number shown as the connection status.
        std::atomic<int> statusTextId{0};
        bool firstConnectDone = false;  // worker only
        // Worker only: idle steps left before a keyboard refused for lack of access rights
        // is looked for again.
        int accessRetrySteps = 0;
    };

    // The supported models, the interfaces to look for, and the loaded model's texts.
    struct ModelState {
        mutable std::mutex mutex;
        std::vector<DeviceModel> models;
        std::vector<DeviceModel> interfaces;
        std::wstring name;
        std::wstring layoutKey;
        std::wstring pictureTextA;
        std::wstring pictureTextB;
        // Key product id * 65536 + vendor id of a boot-mode keyboard -> its layout key twice.
        std::map<uint32_t, std::pair<std::wstring, std::wstring>> layoutByUsbId;
        // A keyboard found in its boot mode at start.
        int bootVendorId = 0;
        int bootProductId = 0;
    };

    // What the model's layout file gives besides the key items.
    struct LayoutState {
        bool rgbKeyboard = false;
        int defaultMode = 0;
        int defaultBrightness = 0;
        int defaultSpeed = 0;
        int brightnessMax = 0;
        int musicRows = 0;
        int musicColumns = 0;
        uint8_t musicGrid[kMusicGridRows][kMusicGridColumns] = {};
    };

    // Links and versions from the configuration, update addresses, home pictures.
    struct AppInfo {
        std::wstring storeLink;
        std::wstring softwareVersion;
        std::wstring softwareUpdateBase;
        std::wstring firmwareUpdateBase;
        std::wstring homeDisconnectedPicture;
        std::wstring homeConnectedPicture;
        std::atomic<bool> upgradeRunning{false};
        // An exit asked for while the flash ran: the flash's end brings it back.
        std::atomic<bool> exitAfterUpgrade{false};
        int languageId = 1033;
        // Reports the window's first showing for start-up measurements.
        std::unique_ptr<MUI::FirstShowWatch> shownReport;
    };

    // Page state shared with the worker.
    struct PageState {
        std::atomic<int> currentPage{PAGE_HOME};
        std::atomic<int> rememberedTab{0};
        std::atomic<int> currentProfile{0};
        std::atomic<int> currentFnLayer{0};
        std::atomic<unsigned> lightFunc{0};
        // The lighting page's current mode (LightMode).
        std::atomic<int> currentLightMode{0};
        MUI::PRECISION precision;
    };

    // The profile list's fields besides the five profile comboboxes.
    struct ProfileListState {
        // The second current-profile field (the lighting page reads it); every change of the
        // active profile sets it with PageState::currentProfile.
        std::atomic<int> lightingProfile{0};
        // The profile that was active before the last switch or add (0: none to go back to).
        // When the keyboard cannot take the new profile, this one is made active again.
        std::atomic<int> previousProfile{0};
    };

    // Switch performance and calibration, shared by the performance page and the worker.
    struct PerfState {
        KeyPerfState keys;
        std::atomic<bool> calibrating{false};
        // The profile the keyboard reported active (its own numbering).
        std::atomic<int> deviceProfile{0};
    };

    // The tray icon record and the icon itself.
    struct TrayState {
        HWND window = nullptr;
        unsigned id = kTrayIconId;
        unsigned flags = kTrayIconFlags;
        UINT callbackMessage = WM_TRAY_NOTIFY;
        std::wstring tip;
        std::unique_ptr<os::TrayIcon> icon;  // set while the icon is shown
    };

    // The dialogs the worker closes, and the upgrade progress display.
    struct PopupState {
        mutable std::mutex mutex;
        std::unique_ptr<WaitDlg> waitDlg;
        std::unique_ptr<UpdateTipDlg> updateTipDlg;
        std::atomic<int> reportedPercent{0};
        std::atomic<int> upgradeKind{0};
        int displayedCounter = 0;
        // Wait dialogs registered so far, and how many there were when the worker took the code
        // of its current step: a step closes only a dialog registered before it began.
        uint64_t registrations = 0;
        uint64_t registrationsAtStep = 0;
    };

    // Arrival and removal notifications on their way from the monitor's thread to the window.
    struct DeviceNotifyState {
        std::unique_ptr<hid::DeviceMonitor> monitor;
        std::mutex mutex;
        std::deque<std::pair<WPARAM, DeviceInterfaceRecord>> pending;
        // Arrivals whose interface the worker still has to probe, each with the index of the
        // model whose pattern it matched; one QCMD_PROBE_ARRIVAL is queued for each.
        std::deque<std::pair<std::wstring, int>> arrivals;
    };

    // What the update checks found, and the downloader of the software update.
    struct UpdateStatus {
        mutable std::mutex mutex;
        // The part of the firmware address naming the keyboard model (empty: none).
        std::wstring modelFolder;
        // The versions the service offers (empty before a check).
        std::wstring softwareServerVersion;
        std::wstring firmwareServerVersion;
        // 0 before the first check, UPDATE_AVAILABLE or UPDATE_NONE.
        std::atomic<int> softwareState{0};
        std::atomic<int> firmwareState{0};
        UpdateDownloader downloader;
        // The CH375 bridge's arrivals are watched (from the first boot-mode probe on).
        std::atomic<bool> bridgeWatched{false};
        // A recovery offer is on its way or shown: another probe offers nothing meanwhile.
        std::atomic<bool> recoveryOffered{false};
    };

    // The worker's queue and the services it waits with; tests replace the pause and the
    // process exit.
    struct WorkerState {
        CommandQueue queue;
        std::function<void(int)> pause;
        std::function<void(int)> exitProcess;
        // Steps run so far (each call of Run counts one).
        std::atomic<uint64_t> steps{0};
        // Keeps the worker between steps while the UI thread replaces the database.
        WorkerHold hold;
        // Set by the worker when the keyboard answered the factory reset.
        std::atomic<bool> factoryResetDone{false};
        // A UI handler whose database write failed queues nothing for the keyboard.
        HandlerWriteWatch handlerWrites;
        // The tables owed to the keyboard, and when the idle step next tries to send them
        // (worker only).
        UnsentTables unsent;
        std::chrono::steady_clock::time_point unsentRetryAt{};
        // The tables the command under way writes (0 for none): owed when the exit cannot
        // wait for it.
        std::atomic<int> runningWrite{0};
        // The exit waits for the queued writes: the worker runs nothing else.
        std::atomic<bool> exiting{false};
    };

    KeyboardDlg();
    ~KeyboardDlg() override;

    // Creates the window and runs it modally; returns the modal result.
    int RunMainWindow(int showCommand);

    // Window operations, in slot order.
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void InitUI(const RECT& client) override;
    void UISize(const RECT& client) override;
    int OnMessage(unsigned id, int code, LPARAM value) override;
    // The window manager's close (its button, Alt+F4) does what the close button does: to the
    // tray, or the end, which waits for a firmware flash. The window itself stays.
    bool OnUserCloseWindow() override;
    int OnLButtonDown(WPARAM flags, int x, int y) override;
    void OnTimer(unsigned id) override;
    bool DestroyWindow() override;

    // Construction and layout.
    void BuildSettingsPage();
    void LayoutSettingsPage(const RECT& client);
    // Where the connection status lies in the client rectangle, for the text it shows.
    RECT StatusTextRect(const RECT& client) const;
    void ResetUiDefaults();
    void ApplyLanguageTexts();

    // Worker.
    void QueueCommand(int code);
    void Run() override;
    void FirstConnect();
    void LoadAllFromDevice();
    // Sends the keyboard's factory reset; worker.factoryResetDone tells whether it was carried
    // out. When it was not answered, the keyboard is given the active profile's tables again.
    void FactoryReset();
    // The pages read back from the keyboard and the new database after a factory reset.
    void ReloadAfterReset();
    // After a load: tells the user when a keyboard table could not be read whole (it is then
    // left as the keyboard holds it). Worker thread; the box is shown on the UI thread.
    void TellUnreadTables();
    // Worker: the tables owed to the keyboard written again, each whole, while the keyboard
    // answers; true when nothing is owed any more.
    bool SendUnsentTables();
    // Worker, idle step: SendUnsentTables when something is owed to an open keyboard and the
    // pause after a failed try is over; true when it ran.
    bool RetryUnsentTables();
    // Worker: the tables marked as owed; the user is told when nothing was owed before.
    void OweTables(int tables);
    // Worker: after a command that writes `tables`: all of them owed when an exchange failed
    // since failedBefore, else the tables it wrote whole (`whole`) are no longer owed.
    void SettleTableWrite(int tables, int whole, uint64_t failedBefore);
    // A notice shown on the UI thread. Any thread.
    void PostNotice(int textId, int captionId) const;
    // Reads one input report of the keyboard, 10 ms time-out by default; a read that says the
    // handle failed is taken as a removal (RecoverFailedHandle).
    void PollDeviceReport(int timeoutMs = 10);
    // Selects the stored "key_profile_preset" in the key page's preset combobox. The rows are
    // left as they are: the preset was laid over them when it was picked, and every change
    // since is the user's.
    void ShowStoredKeyPreset();
    // True when the foreground window of another program covers the live-colour preview.
    bool IsPreviewCovered() const;
    // Wait-dialog protocol, UI side: frees the registered dialog, registers this one.
    void RegisterWaitDlg(std::unique_ptr<WaitDlg> dialog);
    // The whole UI side: a new wait dialog registered, the command queued, the dialog shown
    // modally until the worker ends it. UI thread.
    void QueueWithWaitDlg(int code);
    // Worker side: DoOK on the registered wait dialog, if any.
    WaitDlg* GetWaitDlg() const;
    // With TV_STARTUP_REPORT set, prints the connection state as one "state ..." line.
    void ReportState() const;

    // Models, layout and connection.
    void LoadDeviceModels();
    void LoadKeyboardLayout(int modelId);
    void AddLayoutKeyItem(const std::wstring& name, const std::wstring& desc, int code,
                          const RECT& rect, const std::wstring& icon);
    void ApplyModelPictures();
    void ScanAndConnect(int modelId);
    void OnConnectionChanged(int reason);
    void RegisterDeviceNotify();
    void OnDeviceChange(const DeviceInterfaceRecord& header, WPARAM event);
    // Worker: the probes that can wait on a device, kept off the UI thread. The boot-mode probe
    // offers the recovery to a bridge or a keyboard waiting in its boot loader
    // (src/update/KeyboardDlgBootProbe.cpp).
    void ProbeArrival();
    void ProbeBootMode();
    // Worker: the keyboard's handle failed with no removal told; taken as a removal.
    void RecoverFailedHandle();
    // Worker, idle: a keyboard that may not be opened is looked for again now and then, so it
    // is found as soon as its access rights are granted (no arrival is told then).
    void RetryRefusedKeyboard();
    // UI thread: a boot loader that arrives (known by the ids in its name) is looked for by the
    // worker and offered the recovery, unless a firmware job runs (a failed job has it looked
    // for once its outcome is told); true when the name was a boot loader's.
    bool OfferArrivedBootLoader(const std::wstring& interfaceName);
    LRESULT OnDeviceChangeMessage(WPARAM event, const DeviceInterfaceRecord* header);
    // The key views that exist so far (key assignment, advanced keys, lighting, performance).
    std::vector<MUI::KeyboardCtrl*> KeyViews() const;

    // Tray, pages, popups and the ways to end.
    void InitTrayIcon();
    LRESULT OnTrayIconMessage(LPARAM mouseMessage);
    void OnExitMessage(LPARAM code);
    void OnCloseCommand();
    int OnPageChanged(int tabIndex);
    void CloseAllPopups();
    // Removes the tray icon when shown; true when there was nothing left to remove.
    bool RemoveTrayIcon();
    // Ends the process with `code`: the window hidden at once, the keyboard writes queued or
    // under way run first (for a bounded time), what is left of them marked as owed.
    void ExitProcess(int code);
    // UI thread: waits, for at most `boundMs`, until the worker has run every queued
    // keyboard write; the worker runs nothing else from now on.
    void FinishQueuedWrites(int boundMs);
    // A firmware flash is never cut off (the keyboard would be left in its boot loader): while
    // one runs, an exit is put off until its end, and the user is told so when `tellUser`.
    // True when the exit waits. UI thread.
    bool ExitWaitsForFlash(bool tellUser);

    // --- Key tables on the keyboard, advanced-key tables and layout presets (src/keys/) ---
    // Worker: the default table, the key-index maps and the device defaults, then the key
    // table into the key page's profile.
    void ReadDefaultKeyMapFromDevice();
    // Worker: the default-table read of the profile load, repeated (after 100 ms, then after
    // 1000 ms) while it names fewer than 60 keys.
    void LoadKeyTablesFromDevice();
    void WriteKeyMapToDevice();
    void WriteLayerKeyMapToDevice();
    // The row's 3-byte entry at keyIndex x 3 of table.
    void EncodeKeyAction(int keyIndex, std::span<uint8_t> table, const KeyMacroRecord& row);
    // The profiles the key page (control 87) and the advanced-key page (control 107) work on.
    int KeyPageProfile() const;
    int AdvancedKeyPageProfile() const;
    // The profile a page's profile combobox shows; the current profile while it is missing or
    // has no selection.
    int ProfileShownIn(unsigned comboId) const;
    // A stored "key_profile_preset" value: 202 and 204 standard, 203 Mac, 205 Dvorak,
    // 206 Colemak, 207 Workman; any other value applies nothing. True when one was applied.
    bool ApplyKeyLayoutPreset(int presetId);

    // --- Key-assignment page, its palette and its handlers (src/keys/) ---
    void BuildKeyPage();
    void LayoutCustomKeyPage(const RECT& client);
    void ApplyKeyPageTexts();
    // The page's control notifications (ids 87-99); 0 for other ids.
    int OnKeyPageMessage(unsigned id, int code, LPARAM value);
    void OnCustomKeyProfileChanged();
    void OnKeyPresetSelected();
    // A layer selector (the key page's or the advanced-key page's) chose a layer.
    void OnKeyLayerChanged(unsigned selectorId);
    void BuildKeyValuePalette(int tab);
    void RefreshKeyAssignView();
    void CreateDefaultKeyRows(int profile);
    void AssignKeyFuncToKey();
    void AssignPaletteValueToKey();
    // A palette entry dropped at a point of the window's client area (packed as by
    // MUI::PackClientPoint).
    void DropKeyFuncOnKey(LPARAM point);
    void ResetKeyToDefault(int keyCode);
    void ResetSelectedKey();
    void ResetLayerToDefault();
    void ResetAllKeys();
    // Worker: the advanced-key tables and every key layer of the page's profile.
    bool WriteProfileKeyMapsToDevice();

    // --- Switch performance (src/keys/) ---
    void CreateDefaultKeyPerfRows(int profile);

    // --- Advanced-key page and its editor (src/keys/) ---
    void BuildAdvKeyPage();
    void LayoutAdvKeyPage(const RECT& client);
    void ApplyAdvKeyPageTexts();
    // The page's control notifications (ids 100-128); 0 for ids it does not handle.
    int OnAdvKeyPageMessage(unsigned id, int code, LPARAM value);
    int OnAdvKeySelected();
    int OnAdvKeyItemSelect(int code);
    int OnAdvKeyTypeButton(unsigned buttonId);
    int OpenAdvKeyEditor(int type);
    // WM_ADVKEY_SAVED: binds the saved advanced key and sends the tables.
    int RefreshAdvKeyOverview(int macroId);
    void OnAdvKeyEditorCancelled();
    void OnAdvKeyProfileMenu(int item);
    int ConfirmResetLayer();
    void ResetAdvKeyPage();
    void EnableAdvKeyControls(bool enabled);
    // The list of the profile's advanced keys on the shown layer (RefreshKeyAssignView).
    void RefreshAdvKeyList();
    // WM_INPUT while the page is shown: the PC keys held now into the key-test list.
    void OnRawInput(WPARAM wParam, LPARAM lParam);
    // Raw input and the key-test list follow the page: on when entered, off when left.
    void EnterAdvKeyPage(bool entered);

    // --- Profile list (src/macros/) ---
    // Worker: fills the profile comboboxes (three profiles on an empty list), selects the
    // active profile and reads the keyboard's default key table.
    void LoadProfiles();
    void AddProfile();
    void DeleteProfile();
    void BeginRenameProfile();
    // The in-place edit of a profile combobox ended.
    void EndRenameProfile(unsigned comboId);
    // A page's profile combobox chose another profile.
    void OnProfileComboChanged(unsigned comboId);
    void ShowCustomKeyProfileMenu();
    void ShowPerfProfileMenu();
    // The profile menu at a page's menu button; its choice is posted with `notifyMessage`.
    void ShowProfileMenu(unsigned buttonId, UINT notifyMessage);
    // The performance page's profile-menu item: the same three actions as the key page's.
    void OnPerfMenuCommand(int item);
    // A profile-menu item: 101 add, 102 delete, 103 rename.
    void OnCustomKeyMenuCommand(int item);
    // Worker: reloads the pages for the active profile and writes it to the keyboard; when the
    // keyboard does not take all of it, the previous profile is made active again.
    void ApplyProfile();
    // The profile file: the selected profile saved to a file the user chooses; a file read as
    // a new, active profile written to the keyboard.
    void ExportProfile();
    void ImportProfile();
    // A new profile, already active in the database, added to every profile combobox and
    // selected, made the current profile and written to the keyboard behind a wait dialog.
    void ListNewActiveProfile(int profile, const std::wstring& shown);
    // The key items of the model's layout (none before the key page is built).
    std::vector<MUI::KeyItem> LayoutKeyItems() const;
    // The default profile names shown in the current language (after a language change).
    void RelabelProfileNames();
    // The profile comboboxes of the pages built so far, the key page's first.
    std::vector<MUI::MComboBox*> ProfileCombos() const;

    // --- Macro page: list, step editor, recording and macro files (src/macros/) ---
    void BuildMacroPage();
    void LayoutMacroPage(const RECT& client);
    void ApplyMacroPageTexts();
    // The page's control notifications (ids 214-265); 0 for ids it does not handle.
    int OnMacroPageMessage(unsigned id, int code, LPARAM value);
    void LoadMacroList();
    void ShowMacro(int macroId);
    void OnMacroListNotify(int code);
    void EnableMacroControls(bool on);
    void OnKeyEventRadio();
    void OnMouseEventRadio();
    void OnEditEventRadio();
    void InsertMacroEvent();
    void NewMacro();
    void DeleteSelectedMacro();
    void CopyMacro();
    void PasteMacro();
    void MoveStepUp();
    void MoveStepDown();
    void DeleteStep();
    void ClearSteps();
    void OnStepListNotify(int code);
    void SaveMacroSteps();
    void ApplyMacroSettings();
    void UpdateMacroKeyLabels();
    std::wstring MakeUniqueMacroName(const std::wstring& base) const;
    void OnMacroMenuCommand(int item);
    // The selected macro's id; 0 for none.
    int SelectedMacroId() const;
    void StartMacroRecording();
    void StopMacroRecording();
    LRESULT OnMacroHookKey(WPARAM wParam, LPARAM lParam);
    void AddRecordedStep(const RawInputEvent& event);
    // WM_MACRO_HOOK_STOP: a recording stops (and says so when its budget is spent); a key
    // capture ends.
    void OnMacroHookStop(WPARAM reason);
    int TakeStepDelay();
    void OnKeyCaptureNotify(int code);
    void EnableControlsForRecording(bool on);
    int ExportMacro();
    void ImportMacro();
    // The refusal of a file that cannot be imported, profile or macro.
    void ShowImportRefusal();
    void RelabelMacroNames();
    // A macro page message (caption 360, one button).
    void ShowMacroMessage(int textId);
    // True when the keyboard's macro memory takes one more macro, or `steps` more steps;
    // otherwise the user is told.
    bool RoomForMacro();
    bool RoomForMacroSteps(int steps);

    // --- Update checks, the software update and the progress window (src/update/) ---
    // Settings page: a version text or check button was clicked (it is disabled while its
    // check is queued).
    int OnCheckSoftwareUpdate(unsigned controlId);
    int OnCheckFirmwareUpdate(unsigned controlId);
    // Worker: fetch the service's version, show the outcome, post WM_UPDATE_NOTIFY.
    void CheckSoftwareVersion();
    bool CheckFirmwareVersion();
    // UI thread: asks the user and queues the job the answer calls for.
    LRESULT OnUpdateNotify(WPARAM kind, LPARAM value);
    // Worker: downloads, checks and unpacks the software package, then ends the program so
    // that its installer runs.
    void DownloadSoftwareUpdate();
    // Worker: the firmware jobs' frame (progress timer, the progress window's end, the outcome
    // told to the user).
    void RunFirmwareJob(int code);
    // Worker: the firmware jobs; each returns how it ended (an UpgradeState, or
    // kUpgradeNoBridge / kUpgradeNoBootLoader when no device took the image, or
    // kUpgradeServiceUnreachable).
    int UpgradeFirmware();
    int RecoverFirmwareCh375();
    int RecoverFirmwareHid();
    // Worker: the package of `version` downloaded, checked against its published digest and
    // unpacked; the path of its image, empty when there is none (`failure` then tells why:
    // UPGRADE_NO_IMAGE or kUpgradeServiceUnreachable).
    std::wstring DownloadFirmwarePackage(const std::wstring& version, int& failure);
    // Worker: the same for the version the service names now (the recoveries).
    std::wstring DownloadRecoveryPackage(int& failure);
    // UI thread: a new progress window replaces the registered one and runs modally.
    void ShowUpdateTip();
    // Worker: DoOK on the registered progress window, if any.
    void CloseUpdateTip();

    // --- Settings page handlers (src/app/KeyboardDlgSettingsHandlers.cpp) ---
    // A click on a control of the settings page or on a keyboard-setting combobox of the frame;
    // nothing for other ids.
    std::optional<int> OnSettingsPageMessage(unsigned id);
    int OnTickRateChanged();
    int OnDebounceChanged();
    int OnReportRateChanged();
    int OnTachyonModeChanged();
    // The language combobox chose a language: every text of the window follows at once.
    int OnLanguageChanged();
    int OnAutorunCheck();
    int OnAutorunMinimizeCheck();
    int OnExitModeCheck();
    // The Win, Alt+Tab or Alt+F4 lock switched: stored and written to the keyboard.
    int OnKeyLockSwitch(unsigned id);
    int ResetAllData();
    // The key tester, run modally (src/macros/KeyboardDlgKeyTest.cpp).
    int ShowKeyTestDlg();
    // Worker: the keyboard-setting comboboxes and the key locks from the database, the
    // firmware version label.
    void LoadSettingsPage();
    // The settings page's tray choices ("start hidden", "close to tray") are offered only while
    // the desktop shows a tray. UI thread.
    void ShowTrayChoices();

    // --- Switch performance and the settings block on the keyboard (src/keys/) ---
    int PerfPageProfile() const;
    void ReadKeyPerfFromDevice(int profile);
    // True when the keyboard is owed the performance table, which is then not read.
    bool KeyPerfOwed();
    // After a profile switch on the keyboard: the kept device profile's table into profile.
    void ReadProfileKeyPerf(int profile);
    void WriteKeyPerfToDevice();
    void WriteSettingsToDevice();
    void SendCalibrationMode();
    // After a profile switch on the keyboard: that profile's performance read into the profile
    // at its place in the profile list, which becomes the active one.
    void ReloadDeviceProfile();

    // --- Calibration (src/keys/) ---
    // The calibration button: starts calibrating, or ends a calibration under way. UI thread.
    void ToggleKeyCalibration();
    // Ends a calibration under way; from another thread the end is left to the UI thread.
    void EndKeyCalibration();
    // The calibration's window timers; false for other timer ids.
    bool OnCalibrationTimer(unsigned id);
    void EnablePerfControls(bool enabled);

    // --- Performance page (src/keys/) ---
    void BuildPerfPage();
    void LayoutPerfPage(const RECT& client);
    void ApplyPerfPageTexts();
    // The page's control notifications (ids 266-332); 0 for ids it does not handle.
    int OnPerfPageMessage(unsigned id, int code, LPARAM value);
    void OnPerfProfileChanged();
    void OnPerfPresetSelected();
    void OnKeyStrokeChanged(int code);
    void OnDebugModeSwitch();
    void OnDeadZoneSwitch();
    void ResetKeyActuation();
    void OnRapidTriggerSwitch();
    void OnSensitivityModeSwitch();
    // A distance slider moved (combined 305, press 311, release 317).
    void OnRtSlider(unsigned sliderId, int code, int position);
    // A distance reset button (302, 308, 314).
    void ResetRtSlider(unsigned resetId);
    void OnContinuousRapidTriggerSwitch();
    void OnBottomRapidTriggerSwitch();
    // The selection buttons: none (325), invert (326), all (327).
    void OnPerfSelection(unsigned buttonId);
    void OnSwitchTypeChanged();
    void ResetSwitchType();
    void ResetRapidTrigger();
    void ApplyRapidTrigger();
    void ApplyPerfPreset(int presetId);
    void SavePerfSettings();
    void LoadPerfSettings();
    void ShowSelectedKeyPerf();
    void SetSwitchPrecision(int modelId);
    // The switch types the model offers, the first selected.
    void FillSwitchTypeCombo(int modelId);

    // --- Lighting fields, colour tables and macros on the keyboard (worker) ---
    int LightingPageProfile() const;
    void ReadLightingFromDevice(int profile);
    void WriteLightingToDevice();
    void WriteUserColorsToDevice();
    void ReadKeyColorsFromDevice();
    void WriteLiveColorsToDevice();
    void WriteMacrosToDevice();

    // --- Lighting page: modes, colours, user colours and presets (src/lighting/) ---
    void BuildLightPage();
    void LayoutLightPage(const RECT& client);
    void LayoutMusicControls(const RECT& client);
    void ApplyLightPageTexts();
    // The page's control notifications (ids 135-213); 0 for ids it does not handle.
    int OnLightPageMessage(unsigned id, int code, LPARAM value);
    // Worker: the mode list, the switch and the value controls for the lighting profile.
    void LoadLightModes();
    void RefreshLightControls();
    void ApplyLightColor(int color);
    void ShowLightProfileMenu();
    void OnLightMenuCommand(int item);
    void OnLightPresetSelected();
    void ResetLighting();
    void OnEnableLightSwitch();
    void OnLightModeSelected(int code);
    void OnBrightnessChanged();
    void OnSpeedChanged();
    void OnDirectionChanged(unsigned id);
    void OnColorfulCheck(int code);
    void OnPaletteColor();
    void OnColorButton(unsigned id);
    void OnRedEdit(int code);
    void OnGreenEdit(int code);
    void OnBlueEdit(int code);
    void ApplyRgbEdits();
    void LoadDefaultLightPreset(int presetId);
    void SaveUserKeyColors(int code);
    // The selection buttons: none (199), invert (200), all (201).
    void OnLightSelection(unsigned buttonId);

    // --- Music mode settings and key mapping (src/lighting/) ---
    void FillMusicModeCombo();
    // Worker: the profile's music row into the controls and the visualizer.
    void LoadMusicSettings();
    void ShowMusicPanel(bool shown);
    void OnMusicForeModeChanged();
    void OnMusicAmplitudeChanged();
    void OnMusicBackModeChanged();
    void OnMusicBackBrightnessChanged();
    void BuildMusicGrid();
    // Worker: the visualizer's newest picture on the keys, sent when it is new.
    void ApplyMusicFrame();

    MainWindowControls ui;
    ConnectionState connection;
    ModelState model;
    LayoutState layout;
    AppInfo info;
    PageState page;
    TrayState tray;
    PopupState popups;
    DeviceNotifyState deviceNotify;
    WorkerState worker;
    UpdateStatus updates;
    KeyTableState keyTables;
    KeyPageControls keyPage;
    ProfileListState profiles;
    PerfState perf;
    PerfPageControls perfPage;
    MacroPageControls macroPage;
    LightPageControls lightPage;
    CalibrationState calibration;
    AdvKeyPageControls advKeyPage;
    // The music mode's capture and render thread; started by the first worker command.
    std::unique_ptr<Visualizer> visualizer;

private:
    // Performance page helpers.
    bool PerfEditBlocked() const;
    // True when keys are marked; otherwise the user is told (a message box or the page's
    // transient message).
    bool PerfKeysMarked(bool asMessageBox);
    void SetPerfConfig(const wchar_t* key, const std::wstring& value);
    void SetSliderPosition(MUI::MSlider* slider, MUI::MText* label, int position);
    void ShowRapidTriggerGroups(bool shown);
    void SetControlVisible(unsigned id, bool visible);
    // Lighting page helpers.
    // The current mode's row changed, stored and sent; nothing when the row is missing.
    void ChangeCurrentLightRow(const std::function<void(LightRecord&)>& change);
    void OnRgbEdit(int channel, int code);
    void ShowColorInEdits(int color);
    // The colour panel's choice: the colourful box is cleared so that the colour shows.
    void ApplyChosenColor(int color);
    // The key view's colours become the profile's user colours, sent to the keyboard.
    void StoreViewColors(int profile);
    // Input reports (worker).
    void ShowKeyTravel(const KeyTravel& travel);
    void ApplyProfileSwitch(const ProfileSwitch& change);
    void ResendCalibrationMode();
    // Advanced-key page helpers.
    void OpenAdvKeyEditorFor(int type, int profile, uint32_t keyValue, int macroId, int newFlag);
    void DestroyAdvKeyEditor();
    int DeleteAdvKey();
    void ClearAdvKeyChecks();
    // The pair keys' performance back to the profile's plain settings.
    void ResetPairKeyPerf(const std::vector<int>& codes);
    // After advanced keys were removed from the database: the pairs' performance reset, and
    // their tables and every key layer that changed marked for the next key-table write.
    void TakeAdvancedKeyRemoval(const AdvancedKeyRemoval& removal);
    // Before the key of the layer is given another action: the advanced key it is bound to
    // is removed whole. False when the database kept it.
    bool ReleaseAdvancedKeyOf(int profile, int layer, int keyCode);

    void RunCommand(int code);
    // The routine of `code`, run by RunCommand once a device command has its keyboard.
    void RunDeviceCommand(int code);
    // The step of `code`, one that may wait on the network: the keyboard commands queued
    // meanwhile run in the transfers' breaks.
    void RunTransferCommand(int code);
    // In a transfer's break: the keyboard commands at the front of the queue, in their order.
    void RunQueuedKeyboardCommands();
    void RunIdleStep();
    // The end of a step whose handler shows a wait dialog: the dialog ends, then a pause.
    void EndWaitDlgStep();
    // Worker: closes the registered wait dialog unless it was registered during this step
    // (then it belongs to a command still queued).
    void CloseStepWaitDlg();
    void ShowNoConnectProgress(int shown);
    void ShowLoadedPages();
    void ShowHomePanel();
    // A keyboard that is found but does not answer: the no-keyboard panel says so, and
    // nothing is sent to it until it arrives anew. False when the keyboard answers.
    bool TellKeyboardSilent();
    void SetStatusTitle(int textId);
    void StopWorker();
    // Makes `profile` active in the database, both current-profile fields and every profile
    // combobox.
    void ActivateProfile(int profile);
};
