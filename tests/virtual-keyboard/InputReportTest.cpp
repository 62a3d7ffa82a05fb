#include "KeyboardFixture.h"

namespace vkbtest {
namespace {

using Bytes = std::vector<uint8_t>;

TEST_F(KeyboardFixture, TravelReportCarriesTheKeysCodeAndBigEndianReadings)
{
    struct Case {
        size_t keyIndex;
        Bytes code;
    };
    // Key index 32 is Q (usage 0x14), 60 left Shift (modifier bit 0x02), 13 Print Screen
    // (function code 0x53), 79 Fn.
    const Case cases[] = {{32, {0x10, 0x00, 0x14}},
                          {60, {0x10, 0x02, 0x00}},
                          {13, {0xF0, 0x53, 0x00}},
                          {79, {0xF0, 0xFF, 0x01}}};
    for (const auto& c : cases) {
        vkb::TravelReport travel;
        travel.keyIndex = c.keyIndex;
        travel.reading = 0x0102;
        travel.calibration = 0x33;
        travel.digits = {1, 0, 5};
        travel.fullScale = 0x0205;
        travel.reference1 = 0x1122;
        travel.reference2 = 0x3344;
        ASSERT_TRUE(keyboard->SendTravel(travel));
        const Bytes report = ReadReport(*config, 1000);
        ASSERT_EQ(report.size(), 65u);
        // Report ID first, so each delivered byte n sits at n + 1.
        EXPECT_EQ(report[0], 0x00);
        EXPECT_EQ(report[1], 0xA0);
        EXPECT_EQ(Bytes(report.begin() + 2, report.begin() + 5), c.code) << c.keyIndex;
        EXPECT_EQ(Bytes(report.begin() + 7, report.begin() + 9), (Bytes{0x01, 0x02}));
        EXPECT_EQ(report[11], 0x33);
        EXPECT_EQ(Bytes(report.begin() + 12, report.begin() + 15), (Bytes{1, 0, 5}));
        EXPECT_EQ(Bytes(report.begin() + 15, report.begin() + 21),
                  (Bytes{0x02, 0x05, 0x11, 0x22, 0x33, 0x44}));
    }
}

TEST_F(KeyboardFixture, ProfileSwitchReportGoesToEveryConfigHandleOnly)
{
    auto second = OpenInterface(backend, 0xFD70, 1);
    auto vendor = OpenInterface(backend, 0xFD70, 2);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(vendor, nullptr);
    ASSERT_TRUE(keyboard->SwitchProfile(2, 3));
    for (auto* device : {config.get(), second.get()}) {
        const Bytes report = ReadReport(*device, 1000);
        ASSERT_EQ(report.size(), 65u);
        EXPECT_EQ(Bytes(report.begin(), report.begin() + 4), (Bytes{0x00, 0xA1, 0x02, 0x03}));
    }
    EXPECT_TRUE(ReadReport(*vendor, 50).empty());
    EXPECT_EQ(keyboard->ActiveProfile(), 3);
    EXPECT_EQ(keyboard->ActiveLayer(), 2);
    EXPECT_FALSE(keyboard->SwitchProfile(0, 4));
    EXPECT_FALSE(keyboard->SwitchProfile(8, 0));
}

}  // namespace
}  // namespace vkbtest
