#include "device/DeviceReport.h"

#include <algorithm>

DeviceReport DeviceReport::Request(DeviceCommand command, uint16_t address, const uint8_t* data,
                                   size_t length)
{
    DeviceReport request;
    const size_t stated = std::min(length, REPORT_DATA_MAX);
    request[kRequestMarkByte] = REPORT_REQUEST_MARK;
    request[kRequestCommandByte] = command;
    request[kRequestLengthByte] = static_cast<uint8_t>(stated);
    request[kRequestAddressLowByte] = static_cast<uint8_t>(address & 0xFF);
    request[kRequestAddressHighByte] = static_cast<uint8_t>(address >> 8);
    if (data != nullptr) std::copy_n(data, stated, request.bytes.begin() + kRequestDataByte);
    return request;
}

uint8_t ReportChecksum(const DeviceReport& request, size_t end)
{
    unsigned sum = 0;
    for (size_t i = kRequestLengthByte; i < std::min(end, REPORT_SIZE); ++i) sum += request[i];
    return static_cast<uint8_t>(sum & 0xFF);
}
