#include "platform/hid/ReportDescriptor.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>

namespace hid {

namespace {

// Item types and tags of the short items that matter for report sizes.
constexpr uint8_t kTypeMain = 0;
constexpr uint8_t kTypeGlobal = 1;
constexpr uint8_t kTagInput = 0x8;
constexpr uint8_t kTagOutput = 0x9;
constexpr uint8_t kTagFeature = 0xB;
constexpr uint8_t kTagReportSize = 0x7;
constexpr uint8_t kTagReportId = 0x8;
constexpr uint8_t kTagReportCount = 0x9;
constexpr uint8_t kTagPush = 0xA;
constexpr uint8_t kTagPop = 0xB;
constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr size_t kMaxPushDepth = 32;
// No HID report exceeds this; it keeps absurd size x count products from overflowing.
constexpr uint64_t kMaxReportBits = 8ull * 65536;

struct GlobalState {
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint32_t reportId = 0;
};

int LengthFromBits(const std::map<uint32_t, uint64_t>& bitsById)
{
    uint64_t longest = 0;
    for (const auto& [id, bits] : bitsById) longest = std::max(longest, bits);
    if (longest == 0) return 0;
    return static_cast<int>((longest + 7) / 8) + 1;
}

}  // namespace

ReportLengths ParseReportDescriptor(const uint8_t* descriptor, size_t length)
{
    std::array<std::map<uint32_t, uint64_t>, 3> bits;  // input, output, feature
    GlobalState state;
    std::vector<GlobalState> stack;
    bool numbered = false;

    size_t pos = 0;
    while (descriptor != nullptr && pos < length) {
        const uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            if (pos + 1 >= length) break;
            pos += 3 + descriptor[pos + 1];
            continue;
        }
        const size_t size = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        if (pos + 1 + size > length) break;
        uint32_t value = 0;
        for (size_t i = 0; i < size; ++i) value |= uint32_t{descriptor[pos + 1 + i]} << (8 * i);
        const uint8_t type = (prefix >> 2) & 0x3;
        const uint8_t tag = prefix >> 4;
        pos += 1 + size;

        if (type == kTypeMain) {
            int kind = -1;
            if (tag == kTagInput) kind = 0;
            if (tag == kTagOutput) kind = 1;
            if (tag == kTagFeature) kind = 2;
            if (kind < 0) continue;
            uint64_t& total = bits[kind][state.reportId];
            total = std::min(kMaxReportBits,
                             total + uint64_t{state.reportSize} * uint64_t{state.reportCount});
        } else if (type == kTypeGlobal) {
            switch (tag) {
                case kTagReportSize:
                    state.reportSize = value;
                    break;
                case kTagReportId:
                    state.reportId = value;
                    numbered = true;
                    break;
                case kTagReportCount:
                    state.reportCount = value;
                    break;
                case kTagPush:
                    if (stack.size() < kMaxPushDepth) stack.push_back(state);
                    break;
                case kTagPop:
                    if (!stack.empty()) {
                        state = stack.back();
                        stack.pop_back();
                    }
                    break;
                default:
                    break;
            }
        }
    }

    ReportLengths lengths;
    lengths.input = LengthFromBits(bits[0]);
    lengths.output = LengthFromBits(bits[1]);
    lengths.feature = LengthFromBits(bits[2]);
    lengths.numbered = numbered;
    return lengths;
}

std::vector<uint8_t> ReadHidrawReportDescriptor(const std::string& devnode)
{
    const std::string node = std::filesystem::path(devnode).filename().string();
    if (node.rfind("hidraw", 0) != 0) return {};
    std::ifstream file("/sys/class/hidraw/" + node + "/device/report_descriptor", std::ios::binary);
    if (!file) return {};
    // The kernel caps descriptors at 4096 bytes.
    std::vector<uint8_t> bytes(4096);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(std::max<std::streamsize>(0, file.gcount())));
    return bytes;
}

}  // namespace hid
