// Reading an input report the way the keyboard protocol expects it delivered: a leading
// report ID 0 (an interface without numbered reports) is removed, so the report's first data
// byte lands at data[0]; a non-zero report ID is kept.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/hid/HidSeam.h"

namespace hid {

// Returns the bytes stored in data (at most length), 0 on time-out, -1 when the device failed.
int ReadDelivered(HidDevice& device, uint8_t* data, size_t length, int timeoutMs);

}  // namespace hid
