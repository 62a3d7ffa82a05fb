#include "platform/hid/OutputReport.h"

#include <gtest/gtest.h>

namespace {

TEST(OutputReport, ShorterReportsArePaddedLongerOnesCut)
{
    std::vector<uint8_t> source(70);
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i + 1);

    struct Case {
        size_t length;
        int reportLength;
        size_t expectedSize;
    };
    const Case cases[] = {{64, 65, 65}, {65, 65, 65}, {70, 65, 65}, {10, 0, 10}, {3, -1, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " into " << c.reportLength);
        std::vector<uint8_t> out(200, 0xEE);
        hid::FitOutputReport(source.data(), c.length, c.reportLength, out);
        ASSERT_EQ(out.size(), c.expectedSize);
        for (size_t i = 0; i < out.size(); ++i) {
            EXPECT_EQ(out[i], i < c.length ? source[i] : 0) << i;
        }
    }
}

}  // namespace
