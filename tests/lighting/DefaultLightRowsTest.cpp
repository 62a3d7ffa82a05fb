#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lighting/DefaultLightRows.h"
#include "storage/StorageFixture.h"

namespace {

using DefaultLightRowsTest = storage_test::StorageTest;

TEST_F(DefaultLightRowsTest, EveryListedModeWithItsCaptionAndControlsThenOff)
{
    // (mode, caption, controls) in stored order; codes 20 and 21 have no row.
    const struct {
        int mode;
        const wchar_t* caption;
        int functions;
    } expected[] = {
        {128, L"661", 0x200}, {0, L"662", 0x111},  {1, L"663", 0x003},  {2, L"664", 0x031},
        {3, L"665", 0x031},   {4, L"666", 0x033},  {5, L"667", 0x003},  {6, L"668", 0x037},
        {7, L"669", 0x03B},   {8, L"670", 0x073},  {9, L"671", 0x033},  {10, L"672", 0x0B3},
        {11, L"673", 0x033},  {12, L"674", 0x033}, {13, L"675", 0x033}, {14, L"676", 0x033},
        {15, L"677", 0x033},  {16, L"678", 0x033}, {17, L"679", 0x033}, {18, L"680", 0x033},
        {19, L"681", 0x033},  {22, L"684", 0x033}, {255, L"0", 0},
    };
    const std::vector<LightRecord> rows = DefaultLightRows(5);
    ASSERT_EQ(rows.size(), std::size(expected));
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].profile, 5);
        EXPECT_EQ(rows[i].mode, expected[i].mode);
        EXPECT_EQ(rows[i].name, expected[i].caption);
        EXPECT_EQ(rows[i].config_func, expected[i].functions);
        EXPECT_EQ(rows[i].brightness, 100);
        EXPECT_EQ(rows[i].speed, 4);
        EXPECT_EQ(rows[i].colorful, 1);
        EXPECT_EQ(rows[i].color_value, 255);
        EXPECT_EQ(rows[i].status, 0);
    }
}

TEST_F(DefaultLightRowsTest, StoredOnceWithTheFirstEffectActiveAndOneMusicRow)
{
    CreateDefaultLightRows(db(), 5);
    CreateDefaultLightRows(db(), 5);
    EXPECT_EQ(db().GetLightCount(5), 23);
    EXPECT_EQ(db().GetActiveLightMode(5), 1);
    EXPECT_EQ(db().GetMusicLayerCount(5), 1);
    MusicLayerRecord music;
    ASSERT_TRUE(db().GetMusicLayer(5, music));
    EXPECT_EQ(music.name, L"Music");
    EXPECT_EQ(music.foremode, 2);
    EXPECT_EQ(db().GetLightCount(6), 0) << "other profiles untouched";
}

}  // namespace
