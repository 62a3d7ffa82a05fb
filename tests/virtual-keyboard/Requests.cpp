#include "Requests.h"

namespace vkbtest {

std::vector<uint8_t> Request(uint8_t command, uint8_t length, uint16_t address,
                             const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> r(65, 0);
    r[1] = 0x55;
    r[2] = command;
    r[5] = length;
    r[6] = static_cast<uint8_t>(address & 0xFF);
    r[7] = static_cast<uint8_t>(address >> 8);
    for (size_t i = 0; i < data.size() && i < 56; ++i) r[9 + i] = data[i];
    unsigned sum = 0;
    for (size_t i = 5; i < 65; ++i) sum += r[i];
    r[4] = static_cast<uint8_t>(sum);
    return r;
}

std::vector<uint8_t> ReadReport(hid::HidDevice& device, int timeoutMs)
{
    std::vector<uint8_t> report(1024);
    const int n = device.Read(report.data(), report.size(), timeoutMs);
    report.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return report;
}

std::vector<uint8_t> Exchange(hid::HidDevice& device, const std::vector<uint8_t>& request,
                              int timeoutMs)
{
    if (device.Write(request.data(), request.size()) <= 0) return {};
    return ReadReport(device, timeoutMs);
}

std::unique_ptr<hid::HidDevice> OpenInterface(hid::HidBackend& backend, uint16_t productId,
                                              int interfaceNumber)
{
    for (const auto& info : backend.Enumerate(0x3B6D, productId)) {
        if (info.interfaceNumber == interfaceNumber) return backend.Open(info.path);
    }
    return nullptr;
}

}  // namespace vkbtest
