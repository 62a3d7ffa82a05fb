// One entry of the table of keyboards the program talks to.
#pragma once

#include <string>

struct SupportedDevice {
    int vendorId = 0;
    int productId = 0;
    std::wstring productName;  // empty: any product string
    int deviceType = 0;        // the model id
    int extra = 0;             // kept as given
};
