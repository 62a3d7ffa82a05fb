// The codes the UI and the worker append to the worker's command queue. A code marked as a
// device code runs only while a keyboard is both found and opened.
#pragma once

enum WorkerCommand : int {
    QCMD_FIRST_CONNECT = 1,
    QCMD_DEVICE_ARRIVED = 2,
    QCMD_DEVICE_REMOVED = 3,
    QCMD_RECONNECT = 4,
    QCMD_LOAD_FROM_DEVICE = 5,
    QCMD_APPLY_PROFILE = 6,
    QCMD_WRITE_KEYMAP = 7,
    QCMD_WRITE_MACROS = 8,
    QCMD_WRITE_LIGHTING = 9,
    QCMD_WRITE_USER_COLORS = 10,
    QCMD_FACTORY_RESET = 12,
    QCMD_WRITE_KEY_PERF = 13,
    QCMD_WRITE_SETTINGS = 14,
    QCMD_SET_CALIBRATION = 15,
    QCMD_CHECK_SOFTWARE = 16,
    QCMD_CHECK_FIRMWARE = 17,
    QCMD_INSTALL_SOFTWARE = 18,
    QCMD_UPGRADE_FIRMWARE = 19,
    QCMD_UPGRADE_FIRMWARE_ALT = 20,
    QCMD_AFTER_LOAD = 21,
    QCMD_AFTER_CALIBRATION = 22,
    QCMD_RECOVER_FIRMWARE = 24,
    QCMD_WRITE_LAYER_KEYMAP = 25,
    // The window's own: the worker probes an arrived interface before its arrival is queued.
    QCMD_PROBE_ARRIVAL = 101,
    // The window's own: a boot loader arrived; the worker looks for it and offers the recovery.
    QCMD_PROBE_BOOT_MODE = 102,
    // The window's own: the keyboard has carried out its factory reset and the database has been
    // made anew; the worker reads the pages back from both.
    QCMD_RELOAD_AFTER_RESET = 103,
};

// True for the codes that need a found and opened keyboard.
bool IsDeviceCommand(int code);
// True for the device codes whose handler shows a wait dialog that the routine closes.
bool ClosesWaitDialog(int code);
// True for the device codes that write the database's rows to the keyboard.
bool IsKeyboardWrite(int code);
