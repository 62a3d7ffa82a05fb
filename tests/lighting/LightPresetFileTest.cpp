// The colour texts and the preset colourings of the per-key colour mode, and the direction
// pair a mode's functions show.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "lighting/LightModes.h"
#include "lighting/LightPresetFile.h"
#include "platform/text/Utf8.h"

namespace {

namespace fs = std::filesystem;

constexpr int Rgb(int r, int g, int b) { return r | g << 8 | b << 16; }

TEST(LightModesTest, TheFirstDirectionBitPicksThePair)
{
    const struct {
        unsigned mask;
        int pair;
    } cases[] = {{0x037, 0},  {0x03B, 1},  {0x073, 2}, {0x0B3, 3},
                 {0x003, -1}, {0x111, -1}, {0x0FF, 0}, {0, -1}};
    for (const auto& c : cases) EXPECT_EQ(DirectionPairOf(c.mask), c.pair) << c.mask;
    EXPECT_EQ(ModeCaptionText(L"663"), 663);
    EXPECT_EQ(ModeCaptionText(L"Neon"), 0);
}

class LightPresetFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char folder[] = "/tmp/tvpreset.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir_ = folder;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::wstring Write(const std::string& text)
    {
        const fs::path path = dir_ / "default_light.xml";
        std::ofstream(path) << text;
        return text::Utf8ToWide(path.string());
    }

    static bool IsKey(int code) { return code >= 4 && code <= 0x52; }

    fs::path dir_;
};

TEST_F(LightPresetFileTest, ValidItemsInOrderTheRestSkipped)
{
    const std::wstring path = Write(
        "<preconfig_prpfile><key_light1/>"
        "<key_light2>"
        "<item key_code=\"4\" key_rgb=\"#FF0000\"/>"
        "<item key_code=\"999\" key_rgb=\"#00FF00\"/>"  // not a key
        "<item key_code=\"5\" key_rgb=\"#ZZ0000\"/>"    // not a colour
        "<item key_code=\"6\"/>"                        // no colour
        "<item key_rgb=\"#0000FF\"/>"                   // no key
        "<item key_code=\"4\" key_rgb=\"#00FF00\"/>"    // the same key again
        "<item key_code=\"7\" key_rgb=\"#12345\"/>"
        "<item key_code=\"8\" key_rgb=\"#0000FF\"/>"
        "<item key_code=\"9\" key_rgb=\"#FFFFFF\"/>"
        "</key_light2></preconfig_prpfile>");
    const auto items = ReadLightPreset(path, 203, IsKey, 100);
    ASSERT_TRUE(items);
    const std::vector<PresetKeyColor> expected{
        {4, Rgb(255, 0, 0)}, {7, Rgb(0x12, 0x34, 5)}, {8, Rgb(0, 0, 255)}, {9, Rgb(255, 255, 255)}};
    EXPECT_EQ(*items, expected);
    // Too many items: the first ones are kept.
    const auto capped = ReadLightPreset(path, 203, IsKey, 2);
    ASSERT_TRUE(capped);
    EXPECT_EQ(capped->size(), 2u);
    EXPECT_EQ(capped->back().first, 7);
    // An empty preset is a preset: every key goes dark.
    const auto empty = ReadLightPreset(path, 202, IsKey, 100);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST_F(LightPresetFileTest, NothingForAMissingFileElementOrId)
{
    EXPECT_FALSE(ReadLightPreset(text::Utf8ToWide((dir_ / "none.xml").string()), 202, IsKey, 9));
    const std::wstring bad = Write("<preconfig_prpfile><key_light1>");
    EXPECT_FALSE(ReadLightPreset(bad, 202, IsKey, 9)) << "not well formed";
    const std::wstring path = Write("<preconfig_prpfile><key_light1/></preconfig_prpfile>");
    EXPECT_FALSE(ReadLightPreset(path, 203, IsKey, 9)) << "no key_light2";
    EXPECT_FALSE(ReadLightPreset(path, 201, IsKey, 9));
    EXPECT_FALSE(ReadLightPreset(path, 208, IsKey, 9));
    const std::wstring other = Write("<presets><key_light1/></presets>");
    EXPECT_FALSE(ReadLightPreset(other, 202, IsKey, 9));
}

TEST(ShippedPresetsTest, SixPresetsColourEveryKeyOfTheLayout)
{
    const std::string root = std::getenv("TV_SOURCE_DIR");
    std::ifstream layout(root + "/data/layouts/qx71_max.xml");
    const std::string text((std::istreambuf_iterator<char>(layout)), {});
    std::set<int> keys;
    const std::string mark = "<key code=\"";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
        keys.insert(std::stoi(text.substr(at + mark.size()), nullptr, 16));
    }
    ASSERT_EQ(keys.size(), 84u);
    const std::wstring path = text::Utf8ToWide(root + "/data/profile/default_light.xml");
    std::set<std::vector<PresetKeyColor>> distinct;
    for (int id = kFirstLightPreset; id < kFirstLightPreset + kLightPresetCount; ++id) {
        const auto items = ReadLightPreset(
            path, id, [&](int c) { return keys.count(c) > 0; }, 1000);
        ASSERT_TRUE(items) << id;
        EXPECT_EQ(items->size(), keys.size()) << id;
        std::set<int> colors;
        for (const auto& item : *items) colors.insert(item.second);
        EXPECT_GT(colors.size(), 2u) << "preset " << id << " is more than one colour";
        EXPECT_EQ(colors.count(0), 0u) << "no key of preset " << id << " is dark";
        distinct.insert(*items);
    }
    EXPECT_EQ(distinct.size(), 6u);
}

}  // namespace
