#include "keys/KeyPalette.h"

#include <gtest/gtest.h>

#include <map>

#include "device/KeyMacroType.h"
#include "keys/KeyDefaults.h"

namespace {

RECT Tile(int left, int top) { return RECT{left, top, left + 55, top + 55}; }

TEST(KeyPalette, TabsGiveTheirActionTypes)
{
    const std::map<int, int> types = {{PALETTE_KEYS, KMT_NONE},
                                      {PALETTE_MEDIA, KMT_CONSUMER},
                                      {PALETTE_EXTRA_KEYS, KMT_KEY},
                                      {PALETTE_FUNCTIONS, KMT_FUNCTION},
                                      {PALETTE_LIGHTING, KMT_FUNCTION},
                                      {PALETTE_MACROS, KMT_MACRO},
                                      {6, KMT_NONE},
                                      {-1, KMT_NONE}};
    for (const auto& [tab, type] : types) EXPECT_EQ(PaletteMacroType(tab), type) << tab;
}

TEST(KeyPalette, TilesBreakIntoTheirRowsAtFixedSteps)
{
    struct Case {
        int tab;
        size_t count;
        size_t secondRowStart;  // index of the first tile of row 2
        int firstCode, lastCode;
        const wchar_t* lastCaption;
    };
    const Case cases[] = {
        {PALETTE_MEDIA, 20, 10, 0x183, 0x18A, L"Email"},
        {PALETTE_EXTRA_KEYS, 21, 11, 0x68, 0x88, L"かな"},
        {PALETTE_FUNCTIONS, 6, 4, 1, FUNC_FN1, L"FN1"},
        {PALETTE_LIGHTING, 12, 7, 0x2E, 0x3E, L"Color"},
    };
    for (const Case& c : cases) {
        const auto tiles = PaletteTiles(c.tab, L"Base", nullptr);
        ASSERT_EQ(tiles.size(), c.count) << c.tab;
        EXPECT_EQ(tiles.front().code, c.firstCode) << c.tab;
        EXPECT_EQ(tiles.back().code, c.lastCode) << c.tab;
        EXPECT_EQ(tiles.back().caption, c.lastCaption) << c.tab;
        EXPECT_EQ(tiles[0].rect, Tile(10, 150)) << c.tab;
        EXPECT_EQ(tiles[1].rect, Tile(98, 150)) << c.tab;
        EXPECT_EQ(tiles[c.secondRowStart - 1].rect, Tile(10 + 88 * int(c.secondRowStart - 1), 150))
            << c.tab;
        EXPECT_EQ(tiles[c.secondRowStart].rect, Tile(10, 230)) << c.tab;
    }
    EXPECT_TRUE(PaletteTiles(PALETTE_KEYS, L"Base", nullptr).empty());
    EXPECT_TRUE(PaletteTiles(6, L"Base", nullptr).empty());
}

TEST(KeyPalette, CaptionsKeepThePaletteOwnTexts)
{
    const auto functions = PaletteTiles(PALETTE_FUNCTIONS, L"Base layer", nullptr);
    EXPECT_EQ(functions[0].caption, L"Lock");
    EXPECT_EQ(functions[1].caption, L"Win\nLock");
    EXPECT_EQ(functions[4].caption, L"Base layer");
    EXPECT_EQ(functions[4].code, FUNC_BASE_LAYER);
    const auto lighting = PaletteTiles(PALETTE_LIGHTING, L"", nullptr);
    EXPECT_EQ(lighting[9].caption, L"Color -");
    EXPECT_EQ(lighting[9].code, 0x3D);
    EXPECT_EQ(lighting[10].caption, L"Color +");
    EXPECT_EQ(lighting[10].code, 0x3C);
    const auto media = PaletteTiles(PALETTE_MEDIA, L"", nullptr);
    EXPECT_EQ(media[8].caption, L"Screen\nBright+");
}

TEST(KeyPalette, MediaCaptionsComeFromTheLanguageWhereItHasThem)
{
    const auto text = [](int number) -> std::wstring {
        if (number == kFirstMediaText + 1) return L"\x97F3\x91CF+";
        if (number == kFirstMediaText + 10) return L"\x7F51\x9875\\n\x4E3B\x9875";
        return L"";
    };
    const auto media = PaletteTiles(PALETTE_MEDIA, L"", nullptr, text);
    ASSERT_EQ(media.size(), 20u);
    EXPECT_EQ(media[1].caption, L"\x97F3\x91CF+");
    EXPECT_EQ(media[1].code, 0xE9);
    // A written "\n" breaks the line; a text the language lacks keeps the English caption.
    EXPECT_EQ(media[10].caption, L"\x7F51\x9875\n\x4E3B\x9875");
    EXPECT_EQ(media[0].caption, L"Player");
    // The other tabs keep their captions.
    EXPECT_EQ(PaletteTiles(PALETTE_LIGHTING, L"", nullptr, text)[0].caption, L"RGB Mode+");
}

TEST(KeyPalette, MacroTilesAreTheMacrosThatExistWithTheirStepCounts)
{
    // After deletes the ids have gaps; every macro has its tile, eleven to a row.
    std::vector<PaletteMacro> macros;
    for (int i = 0; i < 32; ++i) macros.push_back({2 * i + 3, i == 1 ? 3 : 0});
    const auto tiles = PaletteTiles(PALETTE_MACROS, L"", [&] { return macros; });
    ASSERT_EQ(tiles.size(), 32u);
    EXPECT_EQ(tiles[0].code, 3);
    EXPECT_EQ(tiles[0].caption, L"M3");
    EXPECT_EQ(tiles[1].caption, L"M5\n(3)");
    EXPECT_EQ(tiles[10].rect, Tile(10 + 88 * 10, 150));
    EXPECT_EQ(tiles[11].rect, Tile(10, 230));
    EXPECT_EQ(tiles[31].code, 65);
    EXPECT_EQ(tiles[31].rect, Tile(10 + 88 * 9, 310));
    EXPECT_TRUE(PaletteTiles(PALETTE_MACROS, L"", nullptr).empty());
}

TEST(KeyDefaults, NewProfileRowsLayerByLayerWithTheFnKeyOnFn1)
{
    const auto rows = DefaultKeyRows(4, {{0x04, L"A"}, {kFnKeyCode, L"Fn"}});
    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows[0].key_code, 0x04);
    EXPECT_EQ(rows[0].macro_type, KMT_KEY);
    EXPECT_EQ(rows[0].macro_value, 0x04);
    EXPECT_EQ(rows[0].macro_desc, L"A");
    EXPECT_EQ(rows[1].macro_type, KMT_FUNCTION);
    EXPECT_EQ(rows[1].macro_value, FUNC_FN1);
    EXPECT_EQ(rows[1].macro_desc, L"Fn");
    for (size_t i = 2; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].fn_layer, static_cast<int>(i / 2));
        EXPECT_EQ(rows[i].macro_type, KMT_FUNCTION);
        EXPECT_EQ(rows[i].macro_value, 1);
        EXPECT_TRUE(rows[i].macro_desc.empty());
    }
    for (const auto& row : rows) {
        EXPECT_EQ(row.profile, 4);
        EXPECT_EQ(row.macro_value2, 0);
        EXPECT_EQ(row.macro_value3, 0);
    }
}

TEST(KeyDefaults, PairPartnerOnlyForTheTwoKeysOfAPair)
{
    KeyMacroRecord row;
    row.macro_type = KMT_SOCD;
    row.macro_value2 = (0x05 << 16) | 0x04;
    EXPECT_EQ(PairedKey(row, 0x04), 0x05);
    EXPECT_EQ(PairedKey(row, 0x05), 0x04);
    EXPECT_EQ(PairedKey(row, 0x06), 0);
    row.macro_type = KMT_DKS;
    EXPECT_EQ(PairedKey(row, 0x04), 0);
}

}  // namespace
