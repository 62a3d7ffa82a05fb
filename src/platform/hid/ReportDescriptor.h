// Report lengths of a HID interface computed from its report descriptor, the way Windows
// states them: the longest report of each kind in bytes, plus one byte for the report ID
// (sent as 0 when the device numbers no reports). A kind without reports has length 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hid {

struct ReportLengths {
    int input = 0;
    int output = 0;
    int feature = 0;
    bool numbered = false;  // the descriptor declares report IDs
};

// Never fails: a truncated or malformed descriptor gives the lengths of what could be read.
ReportLengths ParseReportDescriptor(const uint8_t* descriptor, size_t length);

// The report descriptor of a hidraw node ("/dev/hidrawN") from sysfs; empty when unreadable.
std::vector<uint8_t> ReadHidrawReportDescriptor(const std::string& devnode);

}  // namespace hid
