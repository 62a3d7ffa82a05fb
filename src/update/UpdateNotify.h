// The kinds of WM_UPDATE_NOTIFY (its wParam), and the boot loaders the recovery knows by type.
#pragma once

#include <cstdint>
#include <iterator>

inline constexpr unsigned kNotifySoftwareChecked = 1;
inline constexpr unsigned kNotifyFirmwareChecked = 2;
// A check the user asked for learnt no version; lParam: kNotifySoftwareChecked or
// kNotifyFirmwareChecked, the check that failed.
inline constexpr unsigned kNotifyCheckFailed = 3;
// lParam: the boot loader's type (1 + its index in kBootProductIds; 0 for another one).
inline constexpr unsigned kNotifyBootLoaderFound = 98;
inline constexpr unsigned kNotifyBridgeFound = 99;
// lParam: how the firmware job ended (UpgradeState.h).
inline constexpr unsigned kNotifyFirmwareJobEnded = 100;
// lParam: why the software update installed nothing (SoftwareRefusal).
inline constexpr unsigned kNotifySoftwareRefused = 101;

enum SoftwareRefusal : int {
    kSoftwareUnreachable = 1,  // the update service did not answer
    kSoftwareNotDownloaded,    // it answered, but the package did not come whole
    kSoftwareBadDigest,        // the package does not match the digest published beside it
    kSoftwareUnsafePackage,    // the package did not unpack whole and safely
    kSoftwareNoInstaller,      // the package holds no installer that can run
};

inline constexpr uint16_t kBootVendorId = 0x3B6D;
inline constexpr uint16_t kBootProductIds[] = {0xFF36, 0xFF23, 0xFF72};

// The type a boot product id is offered with; 0 when it has none.
constexpr int BootLoaderType(uint16_t productId)
{
    for (size_t i = 0; i < std::size(kBootProductIds); ++i) {
        if (kBootProductIds[i] == productId) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}
