#include "app/WorkerCommand.h"

bool IsDeviceCommand(int code)
{
    switch (code) {
        case QCMD_LOAD_FROM_DEVICE:
        case QCMD_APPLY_PROFILE:
        case QCMD_WRITE_KEYMAP:
        case QCMD_WRITE_MACROS:
        case QCMD_WRITE_LIGHTING:
        case QCMD_WRITE_USER_COLORS:
        case QCMD_FACTORY_RESET:
        case QCMD_RELOAD_AFTER_RESET:
        case QCMD_WRITE_KEY_PERF:
        case QCMD_WRITE_SETTINGS:
        case QCMD_SET_CALIBRATION:
        case QCMD_AFTER_LOAD:
        case QCMD_AFTER_CALIBRATION:
        case QCMD_WRITE_LAYER_KEYMAP:
            return true;
        default:
            return false;
    }
}

bool ClosesWaitDialog(int code)
{
    switch (code) {
        case QCMD_APPLY_PROFILE:
        case QCMD_WRITE_KEYMAP:
        case QCMD_WRITE_MACROS:
        case QCMD_FACTORY_RESET:
        case QCMD_RELOAD_AFTER_RESET:
        case QCMD_WRITE_LAYER_KEYMAP:
            return true;
        default:
            return false;
    }
}

bool IsKeyboardWrite(int code)
{
    switch (code) {
        case QCMD_APPLY_PROFILE:
        case QCMD_WRITE_KEYMAP:
        case QCMD_WRITE_MACROS:
        case QCMD_WRITE_LIGHTING:
        case QCMD_WRITE_USER_COLORS:
        case QCMD_WRITE_KEY_PERF:
        case QCMD_WRITE_SETTINGS:
        case QCMD_WRITE_LAYER_KEYMAP:
            return true;
        default:
            return false;
    }
}
