#include "device/DeviceReport.h"

#include <algorithm>
#include <cstring>

DeviceReport DeviceReport::Request(DeviceCommand command, uint16_t address, const uint8_t* data,
                                   size_t length)
{
    DeviceReport request;
    const size_t stated = std::min(length, REPORT_DATA_MAX);
    ReportRequestHeader header;
    header.command = command;
    header.length = static_cast<uint8_t>(stated);
    header.addressLow = static_cast<uint8_t>(address & 0xFF);
    header.addressHigh = static_cast<uint8_t>(address >> 8);
    request.SetRequestHeader(header);
    if (data != nullptr) std::copy_n(data, stated, request.RequestData().begin());
    return request;
}

ReportRequestHeader DeviceReport::RequestHeader() const
{
    ReportRequestHeader header;
    std::memcpy(&header, bytes.data(), sizeof header);
    return header;
}

void DeviceReport::SetRequestHeader(const ReportRequestHeader& header)
{
    std::memcpy(bytes.data(), &header, sizeof header);
}

ReportAnswerHeader DeviceReport::AnswerHeader() const
{
    ReportAnswerHeader header;
    std::memcpy(&header, bytes.data(), sizeof header);
    return header;
}

bool DeviceReport::Echoes(const DeviceReport& request) const
{
    const ReportAnswerHeader answer = AnswerHeader();
    const ReportRequestHeader asked = request.RequestHeader();
    return answer.mark == REPORT_ANSWER_MARK && answer.command == asked.command &&
           answer.length == asked.length && answer.addressLow == asked.addressLow &&
           answer.addressHigh == asked.addressHigh && answer.reserved7 == asked.reserved8;
}

uint8_t ReportChecksum(const DeviceReport& request, size_t end)
{
    unsigned sum = 0;
    for (size_t i = kRequestLengthByte; i < std::min(end, REPORT_SIZE); ++i) sum += request[i];
    return static_cast<uint8_t>(sum & 0xFF);
}
