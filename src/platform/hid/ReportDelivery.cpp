#include "platform/hid/ReportDelivery.h"

#include <algorithm>
#include <vector>

namespace hid {

int ReadDelivered(HidDevice& device, uint8_t* data, size_t length, int timeoutMs)
{
    if (data == nullptr || length == 0) return -1;
    // Room for the report ID byte on top of what the caller wants, and for a whole report.
    const size_t room =
        std::max(length + 1, static_cast<size_t>(std::max(0, device.InputReportLength())));
    std::vector<uint8_t> report(room, 0);
    const int got = device.Read(report.data(), report.size(), timeoutMs);
    if (got <= 0) return got;
    size_t size = std::min(static_cast<size_t>(got), report.size());
    const uint8_t* from = report.data();
    if (report[0] == 0) {
        ++from;
        --size;
    }
    size = std::min(size, length);
    std::copy_n(from, size, data);
    return static_cast<int>(size);
}

}  // namespace hid
