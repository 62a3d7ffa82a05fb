// Fitting an output report to the interface's output report length: a shorter one is padded
// with zeros, a longer one cut (the device would take the excess as further reports).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hid {

// reportLength <= 0 (unknown) leaves the report as it stands.
void FitOutputReport(const uint8_t* data, size_t length, int reportLength,
                     std::vector<uint8_t>& out);

}  // namespace hid
