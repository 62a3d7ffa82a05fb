#include "device/KeyActionEncoder.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "device/KeyIndexMaps.h"
#include "device/KeyMacroType.h"

namespace {

struct EncodeCase {
    const char* what;
    int type;
    int value;
    int value2;
    int value3;
    int keyCode;
    std::array<uint8_t, 3> bytes;  // 0xAB: the byte was left as it was
};

const EncodeCase kEncodeCases[] = {
    {"disabled", KMT_DISABLED, 1, 0, 0, 0x04, {0x10, 0x00, 0x00}},
    {"plain key", KMT_KEY, 0x04, 0, 0, 0x04, {0x10, 0x00, 0x04}},
    {"key with modifier usage", KMT_KEY, 0x04, 0xE1, 0, 0x04, {0x10, 0x02, 0x04}},
    {"key with raw modifier bits", KMT_KEY, 0x04, 0x03, 0, 0x04, {0x10, 0x03, 0x04}},
    {"lone modifier", KMT_KEY, 0xE5, 0, 0, 0x04, {0x10, 0x20, 0x00}},
    {"macro found", KMT_MACRO, 9, 0, 0, 0x04, {0x70, 0x01, 0x07}},
    {"macro missing", KMT_MACRO, 4, 0, 0, 0x04, {0xAB, 0xAB, 0xAB}},
    {"mouse left", KMT_MOUSE, 1, 0, 0, 0x04, {0x20, 0x01, 0x00}},
    {"mouse middle", KMT_MOUSE, 2, 0, 0, 0x04, {0x20, 0x04, 0x00}},
    {"mouse right", KMT_MOUSE, 3, 0, 0, 0x04, {0x20, 0x02, 0x00}},
    {"double click", KMT_MOUSE, 4, 0, 0, 0x04, {0x20, 0x01, 0x01}},
    {"wheel up", KMT_MOUSE, 5, 0, 0, 0x04, {0x21, 0x00, 0x01}},
    {"wheel down", KMT_MOUSE, 6, 0, 0, 0x04, {0x21, 0x00, 0xFF}},
    {"button 5", KMT_MOUSE, 7, 0, 0, 0x04, {0x20, 0x10, 0x00}},
    {"button 4", KMT_MOUSE, 8, 0, 0, 0x04, {0x20, 0x08, 0x00}},
    {"unknown mouse", KMT_MOUSE, 9, 0, 0, 0x04, {0x20, 0x00, 0x00}},
    {"consumer", KMT_CONSUMER, 0x183, 0x01, 0, 0x04, {0x30, 0x83, 0x01}},
    {"function", KMT_FUNCTION, 0x3FF, 0, 0, 0x04, {0xF0, 0xFF, 0x03}},
    {"dks", KMT_DKS, 40, 0, 0, 0x04, {0x90, 0x03, 0xAB}},
    {"dks without slot", KMT_DKS, 40, 0, 0, 0x09, {0xAB, 0xAB, 0xAB}},
    {"toggle", KMT_TGL, 41, 0, 0, 0x05, {0x91, 0x01, 0xAB}},
    {"mod-tap with hold time", KMT_MT, 42, 0, 0, 0x06, {0x92, 0x02, 25}},
    {"mod-tap of another type", KMT_MT, 43, 0, 0, 0x06, {0x92, 0x02, 0xAB}},
    {"rapid switch", KMT_RS, 44, 0x160007, 0x16, 0x07, {0x93, 0x05, 20}},
    {"socd", KMT_SOCD, 44, 0x160007, 0x16, 0x07, {0x94, 0x05, 20}},
    {"one-key swap, partner off the layout", KMT_OKS, 44, 0, 0x99, 0x07, {0x95, 0x05, 0xFF}},
    {"pair type without slot", KMT_RS, 44, 0, 0x16, 0x08, {0xAB, 0xAB, 0xAB}},
    {"no action", KMT_NONE, 4, 0, 0, 0x04, {0xAB, 0xAB, 0xAB}},
    {"unknown type", 7, 4, 0, 0, 0x04, {0xAB, 0xAB, 0xAB}},
};

class KeyActionEncoder : public ::testing::TestWithParam<EncodeCase> {
protected:
    KeyActionEncoder()
    {
        keySlots.dks = {{{0x04, 40}, 3}};
        keySlots.toggle = {{{0x05, 41}, 1}};
        keySlots.pair = {{{0x06, 42}, 2}, {{0x06, 43}, 2}, {{0x07, 44}, 5}};
        codeToIndex = {{0x04, 10}, {0x16, 20}};
        MacroRecord first;
        first.macro_id = 5;
        first.link_count = 2;
        MacroRecord second;
        second.macro_id = 9;
        second.link_count = 0x107;  // only the low byte is sent
        macros = {first, second};
    }

    AdvancedSlotMaps keySlots;
    std::map<int, int> codeToIndex;
    std::vector<MacroRecord> macros;
};

TEST_P(KeyActionEncoder, WritesTheEntryAtTheKeyIndex)
{
    const EncodeCase& c = GetParam();
    KeyMacroRecord row;
    row.key_code = c.keyCode;
    row.macro_type = c.type;
    row.macro_value = c.value;
    row.macro_value2 = c.value2;
    row.macro_value3 = c.value3;
    MagneticKeyRecord advanced;
    advanced.macro_type = c.value == 42 ? KMT_MT : KMT_DKS;
    advanced.reserved = 250;  // ms of hold time, sent in tens

    std::vector<uint8_t> table(30, 0xAB);
    EncodeKeyAction(table, 7, row, {keySlots, codeToIndex, macros}, &advanced);

    EXPECT_EQ(table[21], c.bytes[0]) << c.what;
    EXPECT_EQ(table[22], c.bytes[1]) << c.what;
    EXPECT_EQ(table[23], c.bytes[2]) << c.what;
    for (size_t i = 0; i < table.size(); ++i) {
        if (i < 21 || i > 23) {
            ASSERT_EQ(table[i], 0xAB) << c.what << " touched byte " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryType, KeyActionEncoder, ::testing::ValuesIn(kEncodeCases));

TEST(KeyActionEncoderBounds, IndexOutsideTheTableWritesNothing)
{
    const AdvancedSlotMaps keySlots;
    const std::map<int, int> codes;
    const std::vector<MacroRecord> macros;
    KeyMacroRecord row;
    row.macro_type = KMT_KEY;
    row.macro_value = 4;
    std::vector<uint8_t> table(9, 0xAB);
    for (int index : {-1, 3, 100}) {
        EncodeKeyAction(table, index, row, {keySlots, codes, macros});
    }
    EXPECT_EQ(table, std::vector<uint8_t>(9, 0xAB));
}

TEST(KeyActionEncoderBounds, AMacroPastTheMacroMemoryWritesNothing)
{
    const AdvancedSlotMaps keySlots;
    const std::map<int, int> codes;
    std::vector<MacroRecord> macros(33);
    for (int i = 0; i < 33; ++i) macros[i].macro_id = i + 1;
    KeyMacroRecord row;
    row.macro_type = KMT_MACRO;
    std::vector<uint8_t> table(6, 0xAB);
    row.macro_value = 32;  // the last place of the memory
    EncodeKeyAction(table, 0, row, {keySlots, codes, macros});
    row.macro_value = 33;
    EncodeKeyAction(table, 1, row, {keySlots, codes, macros});
    EXPECT_EQ(table, (std::vector<uint8_t>{0x70, 31, 0, 0xAB, 0xAB, 0xAB}));
}

struct DefaultEntryCase {
    std::array<uint8_t, 3> entry;
    int keyCode;
};

TEST(DefaultEntryKeyCode, NamesTheKeyOfEachEntryForm)
{
    const DefaultEntryCase cases[] = {
        {{0xF0, 0xFF, 0x00}, 255},  // FN
        {{0xF0, 0x53, 0x00}, 70},   // Print Screen
        {{0xF0, 0x12, 0x00}, 0},    {{0xE0, 0x05, 0x00}, 246},  {{0x10, 0x03, 0x04}, 4},
        {{0x10, 0x02, 0x00}, 0xE1}, {{0x10, 0x80, 0x00}, 0xE7}, {{0x10, 0x00, 0x00}, 0},
        {{0x10, 0x00, 0xFF}, 0},    {{0x30, 0xE2, 0x00}, 0},    {{0x00, 0x00, 0x04}, 0},
    };
    for (const DefaultEntryCase& c : cases) {
        EXPECT_EQ(DefaultEntryKeyCode(c.entry[0], c.entry[1], c.entry[2]), c.keyCode)
            << std::hex << int(c.entry[0]) << " " << int(c.entry[1]) << " " << int(c.entry[2]);
    }
}

TEST(KeyIndexMaps, HoldEveryMappedKeyInAllThreeMapsUpToIndex143)
{
    std::vector<uint8_t> table(600, 0);
    auto put = [&](int index, uint8_t kind, uint8_t low, uint8_t high) {
        table[index * 3] = kind;
        table[index * 3 + 1] = low;
        table[index * 3 + 2] = high;
    };
    put(0, 0x10, 0x00, 0x29);
    put(5, 0x10, 0x01, 0x00);
    put(143, 0xE0, 0x0F, 0x00);
    put(144, 0x10, 0x00, 0x05);  // past the mapped indexes
    KeyIndexMaps maps;
    maps.indexToCode[99] = 1;  // cleared by the build
    BuildKeyIndexMaps(table, maps);

    EXPECT_EQ(maps.indexToCode, (std::map<int, int>{{0, 0x29}, {5, 0xE0}, {143, 256}}));
    EXPECT_EQ(maps.codeToIndex, (std::map<int, int>{{0x29, 0}, {0xE0, 5}, {256, 143}}));
    EXPECT_EQ(maps.lightCodeToIndex, maps.codeToIndex);
    EXPECT_EQ(maps.IndexOf(0x05), -1);
    EXPECT_EQ(maps.CodeAt(5), 0xE0);
}

}  // namespace
