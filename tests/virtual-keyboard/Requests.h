// Building requests and reading answers the way the host does, written from the report layout.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid/HidSeam.h"

namespace vkbtest {

// A 65-byte request: report ID 0, mark 0x55, command, checksum over bytes 5..64.
std::vector<uint8_t> Request(uint8_t command, uint8_t length = 0, uint16_t address = 0,
                             const std::vector<uint8_t>& data = {});
// Writes the request and reads one report within timeoutMs; empty when none came.
std::vector<uint8_t> Exchange(hid::HidDevice& device, const std::vector<uint8_t>& request,
                              int timeoutMs = 1000);
// Reads one report within timeoutMs; empty when none came.
std::vector<uint8_t> ReadReport(hid::HidDevice& device, int timeoutMs);
// Opens the first interface with the ids and interface number.
std::unique_ptr<hid::HidDevice> OpenInterface(hid::HidBackend& backend, uint16_t productId,
                                              int interfaceNumber);

}  // namespace vkbtest
