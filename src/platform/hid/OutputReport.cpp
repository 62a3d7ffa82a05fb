#include "platform/hid/OutputReport.h"

#include <algorithm>

namespace hid {

void FitOutputReport(const uint8_t* data, size_t length, int reportLength,
                     std::vector<uint8_t>& out)
{
    const size_t target = reportLength > 0 ? static_cast<size_t>(reportLength) : length;
    out.assign(target, 0);
    if (data != nullptr) std::copy_n(data, std::min(length, target), out.begin());
}

}  // namespace hid
