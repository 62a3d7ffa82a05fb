#include "platform/hid/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A vendor-defined interface with 64-byte input and output reports and no report IDs: the
// keyboard's configuration interface.
const Bytes kVendor64 = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00,
                         0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x40, 0x09, 0x01,
                         0x81, 0x02, 0x95, 0x40, 0x09, 0x01, 0x91, 0x02, 0xC0};

// The standard USB boot keyboard: 8-byte input, 1-byte LED output.
const Bytes kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};

// Numbered reports: keyboard (ID 1, 8 bytes), consumer control (ID 2, 2 bytes) and a vendor
// collection (ID 6: 63 bytes in and out, 32-byte feature).
const Bytes kNumbered = {
    // keyboard
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x26, 0xFF, 0x00, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x81, 0x00, 0xC0,
    // consumer control
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x03, 0x19, 0x00, 0x2A,
    0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,
    // vendor
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
    0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x95, 0x3F, 0x09, 0x01, 0x91, 0x02, 0x95, 0x20, 0x09, 0x01,
    0xB1, 0x02, 0xC0};

Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Case {
    const char* name;
    Bytes descriptor;
    hid::ReportLengths expected;
};

TEST(ReportDescriptor, LengthsIncludeTheReportIdByte)
{
    const std::vector<Case> cases = {
        {"vendor 64/64", kVendor64, {65, 65, 0, false}},
        {"boot keyboard", kBootKeyboard, {9, 2, 0, false}},
        {"numbered collections", kNumbered, {64, 64, 33, true}},
        // Push saves size 8 x count 64; the 1-bit field between push and pop is added too.
        {"push and pop",
         {0x75, 0x08, 0x95, 0x40, 0xA4, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0xB4, 0x81, 0x02},
         {66, 0, 0, false}},
        {"long item skipped",
         Concat({0xFE, 0x02, 0x10, 0x81, 0x02}, kVendor64),
         {65, 65, 0, false}},
        {"four-byte count",
         {0x75, 0x08, 0x97, 0x40, 0x00, 0x00, 0x00, 0x81, 0x02},
         {65, 0, 0, false}},
        {"pop without push", {0xB4, 0x75, 0x08, 0x95, 0x02, 0x91, 0x02}, {0, 3, 0, false}},
        {"empty", {}, {0, 0, 0, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const hid::ReportLengths got =
            hid::ParseReportDescriptor(c.descriptor.data(), c.descriptor.size());
        EXPECT_EQ(got.input, c.expected.input);
        EXPECT_EQ(got.output, c.expected.output);
        EXPECT_EQ(got.feature, c.expected.feature);
        EXPECT_EQ(got.numbered, c.expected.numbered);
    }
}

TEST(ReportDescriptor, TruncatedDescriptorsGiveWhatWasRead)
{
    // Lengths only grow as more of a descriptor is read, and every cut is parsed safely.
    hid::ReportLengths previous;
    for (size_t cut = 0; cut <= kNumbered.size(); ++cut) {
        const Bytes prefix(kNumbered.begin(), kNumbered.begin() + static_cast<long>(cut));
        const hid::ReportLengths got = hid::ParseReportDescriptor(prefix.data(), prefix.size());
        EXPECT_GE(got.input, previous.input) << cut;
        EXPECT_GE(got.output, previous.output) << cut;
        EXPECT_GE(got.feature, previous.feature) << cut;
        previous = got;
    }
    EXPECT_EQ(previous.input, 64);
    // A data item cut short is not taken.
    const Bytes cutItem = {0x75, 0x08, 0x96, 0x40};
    EXPECT_EQ(hid::ParseReportDescriptor(cutItem.data(), cutItem.size()).input, 0);
}

TEST(ReportDescriptor, RandomBytesNeverBreakTheParser)
{
    std::mt19937 random(20261210);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    int rounds = 0;
    while (std::chrono::steady_clock::now() < until) {
        Bytes bytes(random() % 300);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
        const hid::ReportLengths got = hid::ParseReportDescriptor(bytes.data(), bytes.size());
        // 8 x 65536 bits at most per report, plus the ID byte.
        for (const int length : {got.input, got.output, got.feature}) {
            ASSERT_GE(length, 0);
            ASSERT_LE(length, 65537);
        }
        ++rounds;
    }
    EXPECT_GT(rounds, 100);
    EXPECT_EQ(hid::ParseReportDescriptor(nullptr, 10).input, 0);
}

TEST(ReportDescriptor, SysfsLookupOfMissingNodesIsEmpty)
{
    EXPECT_TRUE(hid::ReadHidrawReportDescriptor("/dev/null").empty());
    EXPECT_TRUE(hid::ReadHidrawReportDescriptor("/dev/hidraw987654").empty());
    EXPECT_TRUE(hid::ReadHidrawReportDescriptor("").empty());
}

}  // namespace
