// The decoders of the reports the keyboard sends by itself: a key's live travel and calibration
// values, and a layer or profile switch made on the keyboard.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "device/KeyTravelReport.h"
#include "device/ProfileSwitchReport.h"

namespace {

using Report = std::array<uint8_t, 64>;

// A travel report of key A (kind 0x10, no modifier, usage 4).
Report TravelReport(uint16_t reading, uint16_t fullScale)
{
    Report r{};
    r[0] = 0xA0;
    r[1] = 0x10;
    r[2] = 0x00;
    r[3] = 0x04;
    r[6] = static_cast<uint8_t>(reading >> 8);
    r[7] = static_cast<uint8_t>(reading);
    r[14] = static_cast<uint8_t>(fullScale >> 8);
    r[15] = static_cast<uint8_t>(fullScale);
    return r;
}

TEST(KeyTravelReportTest, TravelScalesTheReadingToFortyAndCapsIt)
{
    const struct {
        uint16_t reading;
        uint16_t fullScale;
        int travel;
    } cases[] = {
        {0x0100, 0x0105, 40},                        // 256 x 40 / 256
        {0x0100, 0x0205, 20},                        // 256 x 40 / 512
        {0x0300, 0x0105, 40},                        // above full scale
        {0x0000, 0x0105, 0},  {0x0001, 0x0006, 40},  // the smallest scale there is
        {0x0007, 0x0105, 1},                         // 280 / 256, the integer part
    };
    for (const auto& c : cases) {
        const auto travel = DecodeKeyTravelReport(TravelReport(c.reading, c.fullScale));
        ASSERT_TRUE(travel) << c.reading << " / " << c.fullScale;
        EXPECT_EQ(travel->travel, c.travel) << c.reading << " / " << c.fullScale;
        EXPECT_EQ(travel->keyCode, 0x04);
    }
}

TEST(KeyTravelReportTest, AFullScaleOfFiveOrLessIsDroppedNotDividedBy)
{
    for (const uint16_t fullScale : {0, 1, 5}) {
        EXPECT_FALSE(DecodeKeyTravelReport(TravelReport(0x0100, fullScale))) << fullScale;
        EXPECT_FALSE(KeyTravelFromReading(0x0100, fullScale)) << fullScale;
    }
}

TEST(KeyTravelReportTest, CalibrationValuesDigitsAndReferenceSpan)
{
    Report r = TravelReport(0x0080, 0x0105);
    r[10] = 0x37;
    r[11] = 1;
    r[12] = 0;
    r[13] = 5;
    r[16] = 0x01;  // first reference 0x0120
    r[17] = 0x20;
    r[18] = 0x03;  // second reference 0x0345
    r[19] = 0x45;
    const auto travel = DecodeKeyTravelReport(r);
    ASSERT_TRUE(travel);
    EXPECT_EQ(travel->travel, 20);
    EXPECT_EQ(travel->calibration, 0x37);
    EXPECT_EQ(travel->joinedDigits, 105);
    EXPECT_EQ(travel->referenceSpan, 0x0345 - 0x0120);
    EXPECT_EQ(JoinDigits(0, 0, 7), 7);
    EXPECT_EQ(JoinDigits(12, 0, 255), 120255);
}

TEST(KeyTravelReportTest, KeyCodesOfModifiersFnAndNonKeys)
{
    const struct {
        uint8_t kind, low, high;
        int code;  // 0: dropped
    } cases[] = {
        {0x10, 0x02, 0x00, 0xE1},  // left Shift by its bit
        {0x10, 0x00, 0x2C, 0x2C},  // space
        {0xF0, 0xFF, 0x00, 0xFF},  // Fn
        {0x30, 0xE9, 0x00, 0},     // a consumer key is not a key of the view
        {0x10, 0x00, 0x00, 0},     // no key
    };
    for (const auto& c : cases) {
        Report r = TravelReport(0x0100, 0x0205);
        r[1] = c.kind;
        r[2] = c.low;
        r[3] = c.high;
        const auto travel = DecodeKeyTravelReport(r);
        if (c.code == 0) {
            EXPECT_FALSE(travel) << int(c.kind) << " " << int(c.low) << " " << int(c.high);
        } else {
            ASSERT_TRUE(travel);
            EXPECT_EQ(travel->keyCode, c.code);
        }
    }
}

TEST(KeyTravelReportTest, OtherKindsAndShortReportsAreNotTravel)
{
    Report r = TravelReport(0x0100, 0x0105);
    r[0] = 0xAA;
    EXPECT_FALSE(DecodeKeyTravelReport(r));
    const Report good = TravelReport(0x0100, 0x0105);
    EXPECT_FALSE(DecodeKeyTravelReport(std::span<const uint8_t>(good.data(), 19)));
}

TEST(ProfileSwitchReportTest, LayerAndProfileAreCheckedBeforeUse)
{
    const struct {
        uint8_t layer, profile;
        bool valid;
    } cases[] = {
        {0, 0, true}, {7, 3, true}, {8, 0, false}, {0, 4, false}, {255, 255, false},
    };
    for (const auto& c : cases) {
        Report r{};
        r[0] = 0xA1;
        r[1] = c.layer;
        r[2] = c.profile;
        const auto change = DecodeProfileSwitchReport(r);
        ASSERT_EQ(change.has_value(), c.valid) << int(c.layer) << " " << int(c.profile);
        if (c.valid) {
            EXPECT_EQ(change->layer, c.layer);
            EXPECT_EQ(change->deviceProfile, c.profile);
        }
    }
    Report travel = TravelReport(0x0100, 0x0105);
    EXPECT_FALSE(DecodeProfileSwitchReport(travel));
}

}  // namespace
