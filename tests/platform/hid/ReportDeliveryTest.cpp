#include "platform/hid/ReportDelivery.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Hands out one prepared report, or a fixed result.
class OneReport : public hid::HidDevice {
public:
    OneReport(std::vector<uint8_t> report, int result) : report_(std::move(report)), result_(result)
    {
    }
    int InputReportLength() const override { return 65; }
    int OutputReportLength() const override { return 65; }
    int Write(const uint8_t*, size_t) override { return -1; }
    int Read(uint8_t* data, size_t length, int) override
    {
        if (result_ <= 0) return result_;
        const size_t n = std::min(length, report_.size());
        std::copy_n(report_.begin(), n, data);
        return static_cast<int>(n);
    }

private:
    std::vector<uint8_t> report_;
    int result_;
};

TEST(ReportDelivery, ReportIdZeroIsRemovedOthersKept)
{
    std::vector<uint8_t> unnumbered(65, 0x11);
    unnumbered[0] = 0;
    unnumbered[1] = 0xAA;
    OneReport plain(unnumbered, 65);
    std::vector<uint8_t> got(65, 0xEE);
    ASSERT_EQ(hid::ReadDelivered(plain, got.data(), got.size(), 10), 64);
    EXPECT_EQ(got[0], 0xAA);
    EXPECT_EQ(got[63], 0x11);
    EXPECT_EQ(got[64], 0xEE);  // untouched past what was delivered

    std::vector<uint8_t> numbered = {6, 1, 2, 3};
    OneReport withId(numbered, 4);
    ASSERT_EQ(hid::ReadDelivered(withId, got.data(), got.size(), 10), 4);
    EXPECT_EQ(got[0], 6);
    EXPECT_EQ(got[3], 3);

    // A caller's buffer shorter than the report gets its first bytes only.
    OneReport longer(unnumbered, 65);
    std::vector<uint8_t> small(8);
    ASSERT_EQ(hid::ReadDelivered(longer, small.data(), small.size(), 10), 8);
    EXPECT_EQ(small[0], 0xAA);
}

TEST(ReportDelivery, TimeOutsAndFailuresPassThrough)
{
    std::vector<uint8_t> got(65);
    OneReport silent({}, 0);
    EXPECT_EQ(hid::ReadDelivered(silent, got.data(), got.size(), 10), 0);
    OneReport gone({}, -1);
    EXPECT_EQ(hid::ReadDelivered(gone, got.data(), got.size(), 10), -1);
    EXPECT_EQ(hid::ReadDelivered(gone, nullptr, 10, 10), -1);
}

}  // namespace
