#include "device/KeyActionDecoder.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "device/KeyActionEncoder.h"
#include "device/KeyMacroType.h"

namespace {

// The captions the caller hands the decoder for mouse actions.
std::wstring MouseCaption(int action) { return L"mouse " + std::to_wstring(action); }

const KeyActionTexts kTexts{MouseCaption};
// The macros in the database's order, after some were deleted: a key names one by its place.
const std::vector<int> kMacroIds = {3, 5, 6, 8, 11, 12, 13, 14, 15, 21};

class KeyActionCodes : public ::testing::Test {
protected:
    // The stored row the decoder starts from: a key with a caption of its own.
    static KeyMacroRecord StoredRow()
    {
        KeyMacroRecord rec;
        rec.key_code = 0x04;
        rec.macro_type = KMT_DISABLED;
        rec.macro_value = 77;
        rec.macro_value2 = 66;
        rec.macro_desc = L"stored";
        return rec;
    }
};

struct DecodeCase {
    uint8_t code[3];
    int type;
    int value;
    int value2;
    const wchar_t* caption;
};

TEST_F(KeyActionCodes, DecodesEveryKind)
{
    const DecodeCase cases[] = {
        {{0x10, 0x00, 0x04}, KMT_KEY, 0x04, 66, L"A"},
        {{0x10, 0x02, 0x00}, KMT_KEY, 0xE1, 66, L"Shift"},  // left shift alone
        {{0x10, 0x03, 0x00}, KMT_KEY, 0, 66, L""},          // two modifier bits, no key
        {{0x10, 0x02, 0x04}, KMT_KEY, 0x04, 2, L"A"},       // raw modifier bits kept
        {{0x10, 0x80, 0x00}, KMT_KEY, 0xE7, 66, L""},       // right GUI has no caption
        {{0x30, 0x83, 0x01}, KMT_CONSUMER, 0x183, 0x01, L"Player"},
        {{0x30, 0x99, 0x09}, KMT_CONSUMER, 0x999, 0x09, L"stored"},
        {{0x70, 0x00, 0x05}, KMT_MACRO, 3, 5, L"M3"},
        {{0x70, 0x09, 0x00}, KMT_MACRO, 21, 0, L"M21"},
        {{0x70, 0x0A, 0x00}, KMT_NONE, 77, 66, L"stored"},  // a place no macro has
        {{0xF0, 0xFF, 0x03}, KMT_FUNCTION, 0x3FF, 66, L"FN3"},
        {{0xF0, 0xFF, 0x00}, KMT_FUNCTION, 0xFF, 66, L"\u6807\u51C6\u5C42"},
        {{0xF0, 0x40, 0x04}, KMT_FUNCTION, 0x440, 66, L"RF 2.4G"},
        {{0xF0, 0x34, 0x01}, KMT_FUNCTION, 0x134, 66, L"stored"},
        {{0x20, 0x20, 0x00}, KMT_MOUSE, 77, 66, L"stored"},  // unknown button
        {{0x21, 0x00, 0x02}, KMT_MOUSE, 77, 66, L"stored"},  // unknown wheel step
        {{0x90, 0x05, 0x00}, KMT_NONE, 77, 66, L"stored"},   // advanced keys never decoded
        {{0x95, 0x01, 0x00}, KMT_NONE, 77, 66, L"stored"},
        {{0x00, 0x00, 0x00}, KMT_NONE, 77, 66, L"stored"},
    };
    for (const auto& c : cases) {
        KeyMacroRecord rec = StoredRow();
        DecodeDeviceKeyCode(c.code, rec, kTexts, kMacroIds);
        SCOPED_TRACE(::testing::Message() << std::hex << int(c.code[0]) << " " << int(c.code[1])
                                          << " " << int(c.code[2]));
        EXPECT_EQ(rec.macro_type, c.type);
        EXPECT_EQ(rec.macro_value, c.value);
        EXPECT_EQ(rec.macro_value2, c.value2);
        EXPECT_EQ(rec.macro_desc, c.caption);
    }
}

TEST_F(KeyActionCodes, AMacroKeyReadBackKeepsTheCaptionOfItsMacro)
{
    KeyMacroRecord rec = StoredRow();
    rec.macro_type = KMT_MACRO;
    rec.macro_value = 5;
    rec.macro_desc = L"M5\n(4)";
    const uint8_t same[3] = {0x70, 0x01, 0x01};
    DecodeDeviceKeyCode(same, rec, kTexts, kMacroIds);
    EXPECT_EQ(rec.macro_value, 5);
    EXPECT_EQ(rec.macro_desc, L"M5\n(4)");
    const uint8_t other[3] = {0x70, 0x02, 0x01};
    DecodeDeviceKeyCode(other, rec, kTexts, kMacroIds);
    EXPECT_EQ(rec.macro_value, 6);
    EXPECT_EQ(rec.macro_desc, L"M6");
}

TEST_F(KeyActionCodes, MouseCodesDecodeToActionsWithTheCallersTexts)
{
    const struct {
        uint8_t code[3];
        int action;
    } cases[] = {
        {{0x20, 0x01, 0x00}, MOUSE_LEFT},     {{0x20, 0x01, 0x01}, MOUSE_DOUBLE_CLICK},
        {{0x20, 0x02, 0x00}, MOUSE_RIGHT},    {{0x20, 0x04, 0x00}, MOUSE_MIDDLE},
        {{0x20, 0x10, 0x00}, MOUSE_BUTTON5},  {{0x20, 0x08, 0x00}, MOUSE_BUTTON4},
        {{0x21, 0x00, 0x01}, MOUSE_WHEEL_UP}, {{0x21, 0x00, 0xFF}, MOUSE_WHEEL_DOWN},
    };
    for (const auto& c : cases) {
        KeyMacroRecord rec = StoredRow();
        DecodeDeviceKeyCode(c.code, rec, kTexts, kMacroIds);
        EXPECT_EQ(rec.macro_type, KMT_MOUSE);
        EXPECT_EQ(rec.macro_value, c.action);
        EXPECT_EQ(rec.macro_desc, MouseCaption(c.action));

        KeyMacroRecord untitled = StoredRow();
        DecodeDeviceKeyCode(c.code, untitled, {}, kMacroIds);
        EXPECT_EQ(untitled.macro_value, c.action);
        EXPECT_EQ(untitled.macro_desc, L"") << "no texts given";
    }
}

// Encoding a row and decoding the entry gives the action back, for every kind the keyboard
// reports (advanced keys are never read back; a disabled key reads back as key 0).
struct RoundTripCase {
    const char* what;
    int type;
    int value;
    int value2;
    int decodedType;
    int decodedValue;
    int decodedValue2;
    const wchar_t* caption;
};

const RoundTripCase kRoundTrips[] = {
    {"plain key", KMT_KEY, 0x04, 0, KMT_KEY, 0x04, 0, L"A"},
    {"key with modifier usage", KMT_KEY, 0x05, 0xE1, KMT_KEY, 0x05, 0x02, L"B"},
    {"key with raw modifier bits", KMT_KEY, 0x05, 0x03, KMT_KEY, 0x05, 0x03, L"B"},
    {"lone modifier", KMT_KEY, 0xE1, 0, KMT_KEY, 0xE1, 0, L"Shift"},
    {"disabled", KMT_DISABLED, 0, 0, KMT_KEY, 0, 0, L""},
    {"macro", KMT_MACRO, 7, 0, KMT_MACRO, 7, 4, L"M7"},
    {"mouse left", KMT_MOUSE, MOUSE_LEFT, 0, KMT_MOUSE, MOUSE_LEFT, 0, L"mouse 1"},
    {"mouse middle", KMT_MOUSE, MOUSE_MIDDLE, 0, KMT_MOUSE, MOUSE_MIDDLE, 0, L"mouse 2"},
    {"mouse right", KMT_MOUSE, MOUSE_RIGHT, 0, KMT_MOUSE, MOUSE_RIGHT, 0, L"mouse 3"},
    {"double click", KMT_MOUSE, MOUSE_DOUBLE_CLICK, 0, KMT_MOUSE, MOUSE_DOUBLE_CLICK, 0,
     L"mouse 4"},
    {"wheel up", KMT_MOUSE, MOUSE_WHEEL_UP, 0, KMT_MOUSE, MOUSE_WHEEL_UP, 0, L"mouse 5"},
    {"wheel down", KMT_MOUSE, MOUSE_WHEEL_DOWN, 0, KMT_MOUSE, MOUSE_WHEEL_DOWN, 0, L"mouse 6"},
    {"button 5", KMT_MOUSE, MOUSE_BUTTON5, 0, KMT_MOUSE, MOUSE_BUTTON5, 0, L"mouse 7"},
    {"button 4", KMT_MOUSE, MOUSE_BUTTON4, 0, KMT_MOUSE, MOUSE_BUTTON4, 0, L"mouse 8"},
    {"consumer", KMT_CONSUMER, 0x00E9, 0, KMT_CONSUMER, 0x00E9, 0x00, L"Vol+"},
    {"consumer, high byte", KMT_CONSUMER, 0x0183, 0, KMT_CONSUMER, 0x0183, 0x01, L"Player"},
    {"function", KMT_FUNCTION, FUNC_WIN_LOCK, 0, KMT_FUNCTION, FUNC_WIN_LOCK, 0, L"WinLock"},
    {"layer selector", KMT_FUNCTION, FUNC_FN1 + 0x200, 0, KMT_FUNCTION, 0x03FF, 0, L"FN3"},
    {"connection", KMT_FUNCTION, FUNC_USB, 0, KMT_FUNCTION, FUNC_USB, 0, L"USB"},
};

TEST(KeyActionRoundTrip, EncodeThenDecodeGivesTheActionBack)
{
    // Macro 7 is the database's second macro, linked 4 times (the ids before it were deleted).
    std::vector<MacroRecord> macros(2);
    macros[0].macro_id = 3;
    macros[1].macro_id = 7;
    macros[1].link_count = 4;
    const std::vector<int> macroIds = {3, 7};
    const AdvancedSlotMaps slots;
    const std::map<int, int> codeToIndex;
    for (const RoundTripCase& c : kRoundTrips) {
        SCOPED_TRACE(c.what);
        KeyMacroRecord row;
        row.key_code = 0x04;
        row.macro_type = c.type;
        row.macro_value = c.value;
        row.macro_value2 = c.value2;
        std::array<uint8_t, 6> table{};
        EncodeKeyAction(table, 1, row, {slots, codeToIndex, macros});

        KeyMacroRecord back;
        DecodeDeviceKeyCode(table.data() + 3, back, kTexts, macroIds);
        EXPECT_EQ(back.macro_type, c.decodedType);
        EXPECT_EQ(back.macro_value, c.decodedValue);
        EXPECT_EQ(back.macro_value2, c.decodedValue2);
        EXPECT_EQ(back.macro_desc, c.caption);
    }
}

TEST(ModifierBitToUsage, SingleBitsOnlyAndTheFnFunction)
{
    const struct {
        int kind;
        unsigned value;
        int expected;
    } cases[] = {
        {0x10, 0x01, 0xE0}, {0x10, 0x08, 0xE3}, {0x10, 0x80, 0xE7}, {0x10, 0x03, -1},
        {0x10, 0x00, -1},   {0x10, 0x100, -1},  {0xF0, 0xFF, 0xFF}, {0xF0, 0x01, 0},
        {0x20, 0x01, 0},    {0x30, 0xFF, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModifierBitToUsage(c.kind, c.value, -1), c.expected)
            << "kind " << c.kind << " value " << c.value;
    }
}

}  // namespace
