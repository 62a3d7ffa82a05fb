#include "keys/KeyActionCodes.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Environment.h"
#include "app/KeyActionTexts.h"
#include "app/Language.h"
#include "device/KeyMacroType.h"
#include "platform/text/Utf8.h"

namespace {

class KeyActionCodes : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Captions of mouse actions come from the shipped English texts.
        SetModuleFolder(text::Utf8ToWide(std::string(std::getenv("TV_SOURCE_DIR")) + "/data/"));
        CurrentLanguageId = 1033;
    }

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
        {{0x70, 0x00, 0x05}, KMT_MACRO, 1, 5, L"M1"},
        {{0x70, 0x09, 0x00}, KMT_MACRO, 10, 0, L"M10"},
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
        DecodeDeviceKeyCode(c.code, rec, LanguageKeyActionTexts());
        SCOPED_TRACE(::testing::Message() << std::hex << int(c.code[0]) << " " << int(c.code[1])
                                          << " " << int(c.code[2]));
        EXPECT_EQ(rec.macro_type, c.type);
        EXPECT_EQ(rec.macro_value, c.value);
        EXPECT_EQ(rec.macro_value2, c.value2);
        EXPECT_EQ(rec.macro_desc, c.caption);
    }
}

TEST_F(KeyActionCodes, MouseCodesDecodeToActionsWithTheirTexts)
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
        DecodeDeviceKeyCode(c.code, rec, LanguageKeyActionTexts());
        EXPECT_EQ(rec.macro_type, KMT_MOUSE);
        EXPECT_EQ(rec.macro_value, c.action);
        const std::wstring text = GetLanString(MouseActionTextId(c.action));
        EXPECT_FALSE(text.empty()) << "action " << c.action;
        EXPECT_EQ(rec.macro_desc, text);
    }
    EXPECT_EQ(MouseActionTextId(MOUSE_BUTTON4), 156);
    EXPECT_EQ(MouseActionTextId(9), 0);
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

TEST(MakeUniqueProfileName, FirstFreeNumberCaseSensitive)
{
    EXPECT_EQ(MakeUniqueProfileName(L"Profile", {}), L"Profile 1");
    EXPECT_EQ(MakeUniqueProfileName(L"Profile", {L"Profile 1", L"Profile 2"}), L"Profile 3");
    EXPECT_EQ(MakeUniqueProfileName(L"Profile", {L"profile 1", L"Profile 2"}), L"Profile 1");
    EXPECT_EQ(MakeUniqueProfileName(L"Profile", {L"Profile 2"}), L"Profile 1");
}

TEST(MakeUniqueProfileName, GivesUpAtAThousand)
{
    std::vector<std::wstring> names;
    for (int n = 1; n <= 1000; ++n) {
        names.push_back(L"P " + std::to_wstring(n));
    }
    EXPECT_EQ(MakeUniqueProfileName(L"P", names), L"P 1000");
}

}  // namespace
