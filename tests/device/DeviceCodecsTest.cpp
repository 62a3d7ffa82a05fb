// The table codecs: per-key performance, the settings block, colour tables and the macro image.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "device/DeviceColorTable.h"
#include "device/DeviceKeyPerf.h"
#include "device/DeviceSettingsBlock.h"
#include "device/MacroImage.h"

namespace {

using PerfBytes = std::array<uint8_t, kKeyPerfEntryBytes>;

KeyPerfRecord PerfRow(int type, int mode, int actuation, int press, int release, int state,
                      int pressZone, int releaseZone)
{
    KeyPerfRecord row;
    row.switch_type = type;
    row.key_mode = mode;
    row.key_actuation = actuation;
    row.rt_press = press;
    row.rt_release = release;
    row.deadzone_state = state;
    row.press_deadzone = pressZone;
    row.release_deadzone = releaseZone;
    return row;
}

PerfBytes Encode(const KeyPerfRecord& row)
{
    PerfBytes out{};
    EncodeKeyPerf(row, out);
    return out;
}

struct PerfCase {
    const char* name;
    KeyPerfRecord row;
    PerfBytes wire;
};

TEST(KeyPerfCodec, EncodesTheTableOfCases)
{
    const PerfCase cases[] = {
        {"actuation 256", PerfRow(3, 1, 256, 5, 5, 0, 0, 0), {0xA3, 1, 0xFF, 0x00, 4, 0, 4, 0}},
        {"press 512, dead zone 3",
         PerfRow(3, 1, 75, 512, 5, 1, 3, 0),
         {0xA3, 1, 74, 0, 0xFF, 0x07, 4, 0}},
        {"rt 0 as 1", PerfRow(0, 0, 1, 0, 0, 0, 0, 0), {0xA0, 0, 0, 0, 0, 0, 0, 0}},
        {"dead zones off keep no bits",
         PerfRow(2, 2, 512, 1, 300, 0, 9, 9),
         {0xA2, 2, 0xFF, 0x01, 0, 0, 0x2B, 0x01}},
        {"release dead zone",
         PerfRow(5, 1, 40, 10, 300, 1, 0, 12),
         {0xA5, 1, 39, 0, 9, 0, 0x2B, 0x19}},
    };
    for (const PerfCase& c : cases) EXPECT_EQ(Encode(c.row), c.wire) << c.name;
}

TEST(KeyPerfCodec, DecodesWhatItEncodes)
{
    const KeyPerfRecord rows[] = {PerfRow(3, 1, 256, 512, 1, 1, 3, 31),
                                  PerfRow(23, 2, 1, 2, 511, 1, 0, 5),
                                  PerfRow(0, 0, 512, 75, 75, 0, 0, 0)};
    for (const KeyPerfRecord& row : rows) {
        KeyPerfRecord back;
        DecodeKeyPerf(Encode(row), back);
        EXPECT_EQ(back.switch_type, row.switch_type);
        EXPECT_EQ(back.key_mode, row.key_mode);
        EXPECT_EQ(back.key_actuation, row.key_actuation);
        EXPECT_EQ(back.rt_press, row.rt_press);
        EXPECT_EQ(back.rt_release, row.rt_release);
        EXPECT_EQ(back.deadzone_state, row.deadzone_state);
        EXPECT_EQ(back.press_deadzone, row.press_deadzone);
        EXPECT_EQ(back.release_deadzone, row.release_deadzone);
    }
}

TEST(KeyPerfCodec, DecodeMasksTheTypeAndKeepsDeadZonesWithoutCreep)
{
    // Byte 5 of 0x06: press dead zone 3 and the dead-zone state set; the type loses the mark.
    KeyPerfRecord slot;
    DecodeKeyPerf(PerfBytes{0xA4, 1, 0xFF, 0, 4, 0x06, 4, 0}, slot);
    EXPECT_EQ(slot.switch_type, 4);
    EXPECT_EQ(slot.key_actuation, 256);
    EXPECT_EQ(slot.press_deadzone, 3);
    EXPECT_EQ(slot.release_deadzone, 0);
    EXPECT_EQ(slot.deadzone_state, 1);
    // Reading what was written again and again keeps the dead zone where it was.
    for (int round = 0; round < 3; ++round) DecodeKeyPerf(Encode(slot), slot);
    EXPECT_EQ(slot.press_deadzone, 3);

    // No dead zone read: the slot's state stays as it was.
    KeyPerfRecord off;
    off.deadzone_state = 0;
    DecodeKeyPerf(PerfBytes{0xA3, 1, 74, 0, 4, 0, 4, 0}, off);
    EXPECT_EQ(off.deadzone_state, 0);
    KeyPerfRecord on;
    on.deadzone_state = 1;
    DecodeKeyPerf(PerfBytes{0xA3, 1, 74, 0, 4, 0, 4, 0}, on);
    EXPECT_EQ(on.deadzone_state, 1);
}

SettingsBlock Counting()
{
    SettingsBlock block{};
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(0xC0 + i);
    return block;
}

TEST(SettingsBlockCodec, SwitchSettingsPatchBytesFourToSevenOnly)
{
    SwitchSettings settings;
    settings.reportRate = 3;
    settings.tickRate = 2;
    settings.deadZone = 1;
    settings.disableWin = true;
    settings.disableAltF4 = true;
    settings.tachyonMode = true;
    settings.bottomRapidTrigger = true;
    settings.calibrationBit = true;
    settings.debounceLevel = 2;
    SettingsBlock block = Counting();
    PatchSwitchSettings(block, settings);
    const SettingsBlock before = Counting();
    for (size_t i = 0; i < block.size(); ++i) {
        if (i >= 4 && i <= 7) continue;
        EXPECT_EQ(block[i], before[i]) << "byte " << i;
    }
    EXPECT_EQ(block[4], 0x23);
    EXPECT_EQ(block[5], 1);
    EXPECT_EQ(block[6], 0x05);
    // 0xC7 as read: bits 2 and 4 kept (0x04), the owned bits from the settings.
    EXPECT_EQ(block[7], 0x04 | 0x01 | 0x02 | 0x08 | 0x40);
}

TEST(SettingsBlockCodec, ByteSevenClearsWhatTheSettingsTurnOff)
{
    struct Case {
        uint8_t read;
        SwitchSettings settings;
        uint8_t written;
    };
    SwitchSettings off;
    SwitchSettings calibrating;
    calibrating.calibrationBit = true;
    SwitchSettings debounce;
    debounce.debounceLevel = 7;
    const Case cases[] = {
        {0xFF, off, 0x14},
        {0x00, off, 0x00},
        {0xEB, calibrating, 0x08},
        {0x10, debounce, 0xF0},
    };
    for (const Case& c : cases) {
        SettingsBlock block{};
        block[7] = c.read;
        PatchSwitchSettings(block, c.settings);
        EXPECT_EQ(block[7], c.written) << int(c.read);
    }
}

TEST(SettingsBlockCodec, LightingFieldsRoundTripAndKeepTheRest)
{
    LightRecord light;
    light.brightness = 4;
    light.speed = 1;
    light.direction = 2;
    light.colorful = 1;
    light.colorindex = 6;
    light.color_value = 0x332211;
    SettingsBlock block = Counting();
    PatchLighting(block, 9, light);
    const SettingsBlock before = Counting();
    for (size_t i = 0; i < block.size(); ++i) {
        if (i >= 8 && i <= 16) continue;
        EXPECT_EQ(block[i], before[i]) << "byte " << i;
    }
    EXPECT_EQ((std::vector<uint8_t>(block.begin() + 8, block.begin() + 17)),
              (std::vector<uint8_t>{9, 4, 3, 2, 1, 6, 0x11, 0x22, 0x33}));
    LightRecord back;
    DecodeLighting(block, back);
    EXPECT_EQ(LightModeOf(block), 9);
    EXPECT_EQ(back.speed, 1);
    EXPECT_EQ(back.colorindex, 6);
    EXPECT_EQ(back.color_value, 0x332211);
}

TEST(SettingsBlockCodec, WriteRequestCarriesTheBlockAtItsWirePositions)
{
    DeviceReport answer;
    answer[kAnswerMarkByte] = REPORT_ANSWER_MARK;
    answer[kAnswerCommandByte] = CMD_READ_SETTINGS;
    for (size_t k = 0; k < kSettingsBlockBytes; ++k) answer[kAnswerDataByte + k] = uint8_t(k + 1);
    const DeviceReport request = SettingsWriteRequest(SettingsFromAnswer(answer));
    EXPECT_EQ(request[kRequestMarkByte], 0x55);
    EXPECT_EQ(request[kRequestCommandByte], 0x06);
    EXPECT_EQ(request[kRequestLengthByte], 32);
    EXPECT_EQ(request[kRequestAddressLowByte], 0);
    for (size_t k = 0; k < kSettingsBlockBytes; ++k) {
        EXPECT_EQ(request[kRequestDataByte + k], k + 1);
    }
}

TEST(ColorTableCodec, KeysSitAtThreeBytesAndNothingPastTheTable)
{
    ColorTable table;
    table.Set(0, 0x030201);
    table.Set(127, 0xFFEEDD);
    table.Set(128, 0x123456);
    table.Set(143, 0x123456);
    table.Set(-1, 0x123456);
    EXPECT_EQ(table.bytes[0], 1);
    EXPECT_EQ(table.bytes[2], 3);
    EXPECT_EQ(table.bytes[381], 0xDD);
    EXPECT_EQ(table.bytes[383], 0xFF);
    EXPECT_EQ(table.Get(127), 0xFFEEDD);
    EXPECT_EQ(table.Get(140), 0);
}

TEST(ColorTableCodec, ThirdScaleChannelsAreStretched)
{
    EXPECT_EQ(ScaleThirdScaleColor(85 | 30 << 8 | 86 << 16), 255 | 90 << 8 | 255 << 16);
    EXPECT_EQ(ScaleThirdScaleColor(0), 0);
}

MacroStepRecord Step(int type, int value, int delay)
{
    MacroStepRecord step;
    step.type = type;
    step.value = value;
    step.delay_time = delay;
    return step;
}

uint16_t Word(const MacroImage& image, size_t at)
{
    return image.bytes[at] | image.bytes[at + 1] << 8;
}

TEST(MacroImageCodec, UsedLengthAndOffsetsForZeroElevenAndTwelveSteps)
{
    struct Case {
        size_t steps;
        size_t used;
    };
    for (const Case c : {Case{0, 68}, Case{11, 108}, Case{12, 112}}) {
        std::vector<std::vector<MacroStepRecord>> macros;
        if (c.steps > 0) macros.emplace_back(c.steps, Step(2, 'A', 10));
        const MacroImage image = BuildMacroImage(macros);
        EXPECT_TRUE(image.fits);
        EXPECT_EQ(image.used, c.used) << c.steps;
        for (size_t n = 0; n < 32; ++n) EXPECT_EQ(Word(image, n * 2), 64) << c.steps;
    }
}

TEST(MacroImageCodec, StepKindsAndTheKeyReleaseEndMark)
{
    const std::vector<std::vector<MacroStepRecord>> macros = {
        {Step(2, 'A', 0), Step(2, 0xE1, 5), Step(3, 0xE1, 7), Step(3, 'A', 300)},
        {},
        {Step(4, 1, 20), Step(5, 0x201, 20)},
        {Step(0, 'A', 3)},
        {Step(3, 'A', 1), Step(2, 'A', 1)},
        {Step(3, 0xE1, 4)},
        {Step(4, 2, 9)},
    };
    const MacroImage image = BuildMacroImage(macros);
    EXPECT_EQ(Word(image, 0), 64);
    EXPECT_EQ(Word(image, 2), 80);  // no steps: the next macro's start
    EXPECT_EQ(Word(image, 4), 80);
    EXPECT_EQ(Word(image, 6), 88);
    EXPECT_EQ(Word(image, 8), 92);
    EXPECT_EQ(Word(image, 10), 100);
    EXPECT_EQ(Word(image, 12), 104);
    EXPECT_EQ(Word(image, 14), 64);
    EXPECT_EQ(image.used, 108);
    const std::vector<uint8_t> steps(image.bytes.begin() + 64, image.bytes.begin() + 108);
    EXPECT_EQ(steps, (std::vector<uint8_t>{
                         1,    0, 0x42, 0x04,  // delay 0 raised to 1, key down A
                         5,    0, 0x41, 0x02,  // modifier down: left shift bit
                         7,    0, 0x01, 0x02,  // modifier up, not the last step
                         0x2C, 1, 0x82, 0x04,  // key up A, the last step: marked
                         20,   0, 0xC2, 1,     // mouse button down
                         20,   0, 0x82, 0x01,  // mouse button up
                         3,    0, 0x00, 0,     // another kind: flag 0, never marked
                         1,    0, 0x02, 0x04,  // key up A, not the last step
                         1,    0, 0x42, 0x04,  // key down A, last: never marked
                         4,    0, 0x81, 0x02,  // modifier up alone: marked
                         9,    0, 0xC2, 2,     // mouse button down, last: never marked
                     }));
}

TEST(MacroImageCodec, PlainKeysInTheModifierRangeAreNotTakenForModifiers)
{
    // The 102nd key's virtual key is 0xE2, the bare value 0xE2 the left Alt usage.
    const auto plain = EncodeMacroStep(Step(2, kMacroPlainKeyFlag | 0xE2, 1));
    EXPECT_EQ(plain, (std::array<uint8_t, 2>{0x42, 0x64}));
    const auto modifier = EncodeMacroStep(Step(3, 0xE2, 1));
    EXPECT_EQ(modifier, (std::array<uint8_t, 2>{0x01, 0x04}));
}

TEST(MacroImageCodec, MoreThanTheImageHoldsIsRefusedWithoutOverrun)
{
    std::vector<std::vector<MacroStepRecord>> tooMany(
        33, std::vector<MacroStepRecord>{Step(2, 'A', 1)});
    EXPECT_FALSE(BuildMacroImage(tooMany).fits);
    std::vector<std::vector<MacroStepRecord>> tooLong = {
        std::vector<MacroStepRecord>(kMacroImageMaxSteps + 5, Step(2, 'A', 1))};
    const MacroImage image = BuildMacroImage(tooLong);
    EXPECT_FALSE(image.fits);
    EXPECT_EQ(image.used, kMacroImageBytes);
    std::vector<std::vector<MacroStepRecord>> full = {
        std::vector<MacroStepRecord>(kMacroImageMaxSteps, Step(2, 'A', 1))};
    EXPECT_TRUE(BuildMacroImage(full).fits);
}

}  // namespace
