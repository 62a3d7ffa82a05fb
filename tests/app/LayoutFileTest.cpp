#include "app/LayoutFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/text/Utf8.h"

namespace {

TEST(ParseKeyPosition, RowAndColumnForms)
{
    const struct {
        const wchar_t* text;
        bool ok;
        int row;
        int column;
    } cases[] = {
        {L"2-15", true, 2, 15}, {L"3-7", true, 3, 7},  {L"0-0", true, 0, 0}, {L"7-31", true, 7, 31},
        {L"0-09", true, 0, 9},  {L"8-1", false, 0, 0},  // row past the grid
        {L"1-32", false, 0, 0},                         // column past the grid
        {L"1--5", false, 0, 0},                         // negative column
        {L"x-3", false, 0, 0},  {L"2-", false, 0, 0},  {L"", false, 0, 0},   {L"2-a", false, 0, 0},
    };
    for (const auto& c : cases) {
        int row = -9;
        int column = -9;
        EXPECT_EQ(ParseKeyPosition(c.text, row, column), c.ok) << text::WideToUtf8(c.text);
        if (c.ok) {
            EXPECT_EQ(row, c.row) << text::WideToUtf8(c.text);
            EXPECT_EQ(column, c.column) << text::WideToUtf8(c.text);
        }
    }
}

class LayoutFileTest : public ::testing::Test {
protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("layout-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         std::to_string(reinterpret_cast<uintptr_t>(this)));
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::wstring Write(const std::string& body)
    {
        const auto path = dir / "layout.xml";
        std::ofstream(path, std::ios::binary) << body;
        return text::Utf8ToWide(path.string());
    }
};

TEST_F(LayoutFileTest, ReadsLightKeyboardAndKeysInOrder)
{
    const auto path = Write(R"(<?xml version="1.0" encoding="utf-8"?>
<device.info>
  <light rgb_keyboard="1" default_mode="3" default_brightness="4" default_speed="2" brightness_max="5" speed_max="9"/>
  <Keyboard bk_color="232323" xpos="1" ypos="2" width="1070" height="350" row_count="6" col_count="16">
    <KeyItems>
      <key code="29" name="Esc" desc="Escape" key_index="0" light_index="0" icon="" rect_left="10" rect_top="12" rect_width="50" rect_height="48" row_col="0-0"/>
      <key code="3A" name="F1" desc="" icon="k.png" rect_left="70" rect_top="12" rect_width="50" rect_height="48" row_col="0-15"/>
      <key code="FF" name="FN" desc="" icon="" rect_left="1" rect_top="2" rect_width="3" rect_height="4" row_col="5-15"/>
      <key code="E0" name="Ctrl" desc="" icon="" rect_left="1" rect_top="2" rect_width="3" rect_height="4" row_col="9-40"/>
    </KeyItems>
  </Keyboard>
</device.info>)");
    LayoutFileData data;
    ASSERT_TRUE(LoadLayoutFile(path, data));
    EXPECT_TRUE(data.hasLight);
    EXPECT_TRUE(data.rgbKeyboard);
    EXPECT_EQ(data.defaultMode, 3);
    EXPECT_EQ(data.defaultBrightness, 4);
    EXPECT_EQ(data.defaultSpeed, 2);
    EXPECT_EQ(data.brightnessMax, 5);
    EXPECT_EQ(data.keyboardColor, 0x232323u);
    EXPECT_EQ(data.keyboardWidth, 1070);
    EXPECT_EQ(data.rowCount, 6);
    EXPECT_EQ(data.columnCount, 16);
    ASSERT_EQ(data.keys.size(), 4u);
    EXPECT_EQ(data.keys[0].code, 0x29);
    EXPECT_EQ(data.keys[0].desc, L"Escape");
    EXPECT_EQ(data.keys[1].icon, L"k.png");
    EXPECT_EQ(data.keys[1].left, 70);
    EXPECT_EQ(data.keys[1].height, 48);
    EXPECT_EQ(data.musicGrid[0][0], 0x29);
    EXPECT_EQ(data.musicGrid[0][15], 0x3A);
    EXPECT_EQ(data.musicGrid[5][15], 0xFF);
    // A key placed outside the grid is still a key, just not on the grid.
    EXPECT_EQ(data.keys[3].code, 0xE0);
    EXPECT_EQ(data.keys[3].row, -1);
}

TEST_F(LayoutFileTest, WithoutLightTheKeysStillLoadAndLaterDuplicatesWin)
{
    const auto path = Write(
        R"(<device.info><Keyboard bk_color="0" width="1" height="1" row_count="1" col_count="2"><KeyItems>
      <key code="04" name="A" row_col="0-1"/><key code="05" name="B" row_col="0-1"/>
    </KeyItems></Keyboard></device.info>)");
    LayoutFileData data;
    ASSERT_TRUE(LoadLayoutFile(path, data));
    EXPECT_FALSE(data.hasLight);
    EXPECT_EQ(data.keys.size(), 2u);
    EXPECT_EQ(data.musicGrid[0][1], 0x05);
}

TEST_F(LayoutFileTest, HugeOrNegativeNumbersAreKeptWithinTheView)
{
    const auto path = Write(
        R"(<device.info><Keyboard bk_color="0" width="99999999999" height="-5" row_count="2147483647" col_count="-2147483648"><KeyItems>
      <key code="04" name="A" rect_left="2147483647" rect_top="-2147483648" rect_width="2147483647" rect_height="40"/>
      <key code="05" name="B" rect_left="10" rect_top="10" rect_width="0" rect_height="99999999999999999999"/>
    </KeyItems></Keyboard></device.info>)");
    LayoutFileData data;
    ASSERT_TRUE(LoadLayoutFile(path, data));
    EXPECT_EQ(data.keyboardWidth, kLayoutExtentMax);
    EXPECT_EQ(data.keyboardHeight, 0);
    EXPECT_EQ(data.rowCount, kMusicGridRows);
    EXPECT_EQ(data.columnCount, 0);
    ASSERT_EQ(data.keys.size(), 2u);
    const LayoutKeyItem& a = data.keys[0];
    EXPECT_EQ(a.left, kLayoutExtentMax);
    EXPECT_EQ(a.top, 0);
    EXPECT_EQ(a.left + a.width, 2 * kLayoutExtentMax);  // no overflow in the rectangle
    EXPECT_EQ(data.keys[1].height, kLayoutExtentMax);
    EXPECT_TRUE(data.HasUsableKey());
    data.keys.erase(data.keys.begin());
    EXPECT_FALSE(data.HasUsableKey()) << "a key without width is no usable key";
}

TEST_F(LayoutFileTest, MissingOrBrokenFilesGiveNothing)
{
    LayoutFileData data;
    EXPECT_FALSE(LoadLayoutFile(text::Utf8ToWide((dir / "absent.xml").string()), data));
    EXPECT_FALSE(LoadLayoutFile(Write("<device.info><Keyboard>"), data));
    EXPECT_TRUE(data.keys.empty());
    EXPECT_FALSE(LoadLayoutFile(Write("<other/>"), data));
    EXPECT_FALSE(LoadLayoutFile(Write(std::string("\x00\xFF\x13garbage", 10)), data));
}

}  // namespace

namespace {

TEST(ShippedLayout, EveryKeyHasAGridPlaceAndNoKeysOverlap)
{
    const std::string path =
        std::string(std::getenv("TV_SOURCE_DIR")) + "/data/layouts/qx71_max.xml";
    LayoutFileData data;
    ASSERT_TRUE(LoadLayoutFile(text::Utf8ToWide(path), data));
    EXPECT_TRUE(data.hasLight);
    ASSERT_EQ(data.keys.size(), 84u);
    for (size_t i = 0; i < data.keys.size(); ++i) {
        const auto& a = data.keys[i];
        EXPECT_GE(a.row, 0) << i;
        EXPECT_LT(a.row, data.rowCount) << i;
        EXPECT_LT(a.column, data.columnCount) << i;
        EXPECT_GT(a.width, 0) << i;
        EXPECT_LE(a.left + a.width, data.keyboardWidth) << i;
        EXPECT_LE(a.top + a.height, data.keyboardHeight) << i;
        for (size_t j = i + 1; j < data.keys.size(); ++j) {
            const auto& b = data.keys[j];
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << i << " overlaps " << j;
            EXPECT_NE(a.code, b.code) << i << " and " << j;
        }
    }
}

}  // namespace
