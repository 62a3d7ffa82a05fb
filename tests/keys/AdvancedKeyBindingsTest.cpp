#include "keys/AdvancedKeyBindings.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/AdvancedKeyTables.h"
#include "device/KeyMacroType.h"

namespace {

constexpr int kA = 0x04;
constexpr int kB = 0x07;

// The stored row of a key as the page loads it: a plain key on layer 0 of profile 2.
KeyMacroRecord Stored(int code)
{
    KeyMacroRecord row;
    row.profile = 2;
    row.key_code = code;
    row.macro_type = KMT_KEY;
    row.macro_value = code;
    row.macro_desc = L"stored";
    return row;
}

MagneticKeyRecord Key(int type, int keyValue, int key1 = 1, int key2 = 0, int reserved = 0)
{
    MagneticKeyRecord key;
    key.macro_id = 9;
    key.macro_type = type;
    key.key_value = keyValue;
    key.key1_value = key1;
    key.key2_value = key2;
    key.reserved = reserved;
    return key;
}

TEST(AdvancedKeyBindings, SocdModeMirrorsOnlyTheOneSidedPriorities)
{
    const struct {
        int mode, mirrored;
    } cases[] = {{0x01, 0x01}, {0x11, 0x21}, {0x21, 0x11}, {0x31, 0x31}, {0x1F, 0x2F}};
    for (const auto& c : cases) EXPECT_EQ(MirroredSocdMode(c.mode), c.mirrored) << c.mode;
}

TEST(AdvancedKeyBindings, OneKeyTypesBindTheCurrentKeyOnly)
{
    const struct {
        int type;
        int bit;
        const wchar_t* desc;
    } cases[] = {{KMT_DKS, ADV_TABLE_DKS, L"DKS"},
                 {KMT_MT, ADV_TABLE_PAIR, L"MT"},
                 {KMT_TGL, ADV_TABLE_TOGGLE, L"TGL"}};
    for (const auto& c : cases) {
        const AdvancedKeyBinding binding = BindAdvancedKey(Key(c.type, kA), kA, Stored);
        ASSERT_EQ(binding.rows.size(), 1u);
        EXPECT_EQ(binding.rows[0].key_code, kA);
        EXPECT_EQ(binding.rows[0].macro_type, c.type);
        EXPECT_EQ(binding.rows[0].macro_value, 9);
        EXPECT_EQ(binding.rows[0].macro_desc, c.desc);
        EXPECT_EQ(binding.rows[0].macro_value2, 0) << "left as stored";
        EXPECT_EQ(binding.tableBit, c.bit);
        EXPECT_TRUE(binding.perf.empty());
    }
}

TEST(AdvancedKeyBindings, PairsBindBothKeysWithTheirPartnerAndPerformance)
{
    const int pair = kB << 16 | kA;
    const AdvancedKeyBinding rs =
        BindAdvancedKey(Key(KMT_RS, pair, 1, 20 * 0x10001, 75), 0, Stored);
    ASSERT_EQ(rs.rows.size(), 2u);
    EXPECT_EQ(rs.rows[0].macro_value2, pair);
    EXPECT_EQ(rs.rows[0].macro_value3, kB);
    EXPECT_EQ(rs.rows[1].macro_value3, kA);
    EXPECT_EQ(rs.tableBit, ADV_TABLE_PAIR);
    EXPECT_EQ(rs.perf, (std::vector<PairKeyPerf>{{kA, 1, 75, 20, 20}, {kB, 1, 75, 20, 20}}));

    const AdvancedKeyBinding socd =
        BindAdvancedKey(Key(KMT_SOCD, pair, 0x11, 30 << 16 | 10, 60), 0, Stored);
    EXPECT_EQ(socd.perf,
              (std::vector<PairKeyPerf>{{kA, 0x11, 60, 10, 30}, {kB, 0x21, 60, 10, 30}}));
}

TEST(AdvancedKeyBindings, OneKeySwitchModesBindTheirKeysAndLeaveTheOtherAsTheKeyboardHasIt)
{
    const int pair = kB << 16 | kA;
    const struct {
        int mode;
        std::vector<int> bound;
        int unbound;  // 0: none
    } cases[] = {{0x11, {kA, kB}, 0}, {0x21, {kA}, kB}, {0x31, {kB}, kA}, {0x01, {}, 0}};
    for (const auto& c : cases) {
        const AdvancedKeyBinding binding =
            BindAdvancedKey(Key(KMT_OKS, pair, c.mode, 20 * 0x10001, 75), 0, Stored);
        std::vector<int> bound;
        for (const KeyMacroRecord& row : binding.rows) {
            if (row.macro_type == KMT_OKS) {
                bound.push_back(row.key_code);
                continue;
            }
            EXPECT_EQ(row.key_code, c.unbound) << c.mode;
            EXPECT_EQ(row.macro_type, KMT_NONE);
            EXPECT_EQ(row.macro_value, c.unbound) << "its own code, never the partner's";
            EXPECT_EQ(row.macro_value2, 0);
            EXPECT_EQ(row.macro_value3, 0);
        }
        EXPECT_EQ(bound, c.bound) << c.mode;
        EXPECT_EQ(binding.perf.size(), c.bound.size()) << c.mode;
    }
}

}  // namespace
