// Where a firmware upgrade stands; the progress window shows language text 1058 + state.
#pragma once

#include <functional>

enum UpgradeState {
    UPGRADE_STARTED = 1,
    UPGRADE_NO_IMAGE = 2,
    UPGRADE_DEVICE_OPEN = 3,
    UPGRADE_ERASE_FAILED = 4,
    UPGRADE_ERASED = 5,
    UPGRADE_PROGRAM_FAILED = 6,
    UPGRADE_PROGRAMMED = 7,
    UPGRADE_VERIFY_FAILED = 8,
    UPGRADE_END_FAILED = 9,
    UPGRADE_DONE = 10,
};

// How a firmware job ended when nothing was flashed for want of a device, or because the
// update service did not answer at all.
inline constexpr int kUpgradeNoBridge = -1;
inline constexpr int kUpgradeNoBootLoader = -2;
inline constexpr int kUpgradeServiceUnreachable = -3;

// Where an upgrader tells its percent and its state; called on the upgrader's thread.
using UpgradeProgress = std::function<void(int percent, int state)>;
