// One HID interface found by the last scan, with its open handle.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/hid/HidSeam.h"

struct DeviceRecord {
    int index = 0;  // the list length when it was appended
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string devicePath;
    std::wstring text1;          // always empty
    std::wstring productString;  // as enumerated
    std::wstring text3;          // always empty
    std::unique_ptr<hid::HidDevice> handle;
    int releaseNumber = 0;
    int deviceType = 0;
    int connectionKind = 0;
    int status = 1;
};
