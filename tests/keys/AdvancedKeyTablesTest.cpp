#include "device/AdvancedKeyTables.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "device/KeyMacroType.h"

namespace {

KeyMacroRecord Row(int layer, int keyCode, int type, int macroId, int partner = 0)
{
    KeyMacroRecord row;
    row.fn_layer = layer;
    row.key_code = keyCode;
    row.macro_type = type;
    row.macro_value = macroId;
    row.macro_value3 = partner;
    return row;
}

class AdvancedKeyTablesTest : public ::testing::Test {
protected:
    void AddKey(int macroId, int type, int key1, int key2)
    {
        MagneticKeyRecord key;
        key.macro_id = macroId;
        key.macro_type = type;
        key.key1_value = key1;
        key.key2_value = key2;
        keys[macroId] = key;
    }
    void AddItem(int macroId, int usage, int trigger)
    {
        KeyItemRecord item;
        item.macro_id = macroId;
        item.key_value = usage;
        item.trigger_state1 = trigger;
        items[macroId].push_back(item);
    }
    AdvancedTables Build(const std::vector<KeyMacroRecord>& rows)
    {
        AdvancedKeySource source{
            [this](int id, MagneticKeyRecord& key) {
                const auto found = keys.find(id);
                if (found == keys.end()) return false;
                key = found->second;
                return true;
            },
            [this](int id) { return items[id]; },
        };
        return BuildAdvancedTables(rows, source);
    }

    std::map<int, MagneticKeyRecord> keys;
    std::map<int, std::vector<KeyItemRecord>> items;
};

TEST_F(AdvancedKeyTablesTest, DksSlotHoldsBothKeysAndTheFirstFourItems)
{
    AddKey(7, KMT_DKS, 0x1234, 0x0250);
    AddItem(7, 0x04, 0x10001);
    AddItem(7, 0xE1, 0x0203);  // a modifier goes as its bit
    AddItem(7, 0x05, 0);
    AddItem(7, 0x06, 0xFFFF);
    AddItem(7, 0x07, 0x55);  // a fifth item stays out of the table
    AddKey(8, KMT_DKS, 1, 2);
    const AdvancedTables t = Build({Row(0, 0x29, KMT_DKS, 8), Row(0, 0x04, KMT_DKS, 7)});

    EXPECT_EQ(t.slotMaps.dks, (AdvancedSlots{{{0x29, 8}, 0}, {{0x04, 7}, 1}}));
    const std::vector<uint8_t> slot(t.dks.begin() + 24, t.dks.begin() + 48);
    const std::vector<uint8_t> expected = {0x34, 0x12, 0x50, 0x02,         // keys
                                           0x10, 0x00, 0x04, 0x01, 0x00,   // item 1
                                           0x10, 0x02, 0x00, 0x03, 0x02,   // item 2
                                           0x10, 0x00, 0x05, 0x00, 0x00,   // item 3
                                           0x10, 0x00, 0x06, 0xFF, 0xFF};  // item 4
    EXPECT_EQ(slot, expected);
    EXPECT_EQ(t.dks[48], 0);  // the next slot is untouched
}

TEST_F(AdvancedKeyTablesTest, PairAndToggleSlotsFollowTheirRowTypes)
{
    AddKey(1, KMT_MT, 0x04, 0xE0);
    AddKey(2, KMT_RS, 0, 0);
    AddKey(3, KMT_OKS, 0, 0x31);
    AddKey(4, KMT_TGL, 0xE7, 0);
    AddKey(5, KMT_SOCD, 0, 0);
    const AdvancedTables t = Build({
        Row(0, 0x10, KMT_MT, 1),
        Row(0, 0x11, KMT_RS, 2, 0x12),
        Row(1, 0x13, KMT_OKS, 3, 0xE2),
        Row(2, 0x14, KMT_TGL, 4),
        Row(0, 0x15, KMT_SOCD, 5, 0x16),
    });

    EXPECT_EQ(t.slotMaps.pair,
              (AdvancedSlots{{{0x10, 1}, 0}, {{0x11, 2}, 1}, {{0x13, 3}, 2}, {{0x15, 5}, 3}}));
    EXPECT_EQ(t.slotMaps.toggle, (AdvancedSlots{{{0x14, 4}, 0}}));
    const std::vector<uint8_t> pair(t.pair.begin(), t.pair.begin() + 24);
    const std::vector<uint8_t> expected = {
        0x10, 0x00, 0x04, 0x10, 0x01, 0x00,  // MT: key1, key2 (a modifier)
        0x10, 0x00, 0x11, 0x10, 0x00, 0x12,  // RS: own key, partner
        0x10, 0x00, 0x13, 0x31, 0x04, 0x00,  // OKS: own key, mode, partner modifier
        0x10, 0x00, 0x15, 0x10, 0x00, 0x16,  // SOCD
    };
    EXPECT_EQ(pair, expected);
    EXPECT_EQ(std::vector<uint8_t>(t.toggle.begin(), t.toggle.begin() + 3),
              (std::vector<uint8_t>{0x10, 0x80, 0x00}));
}

TEST_F(AdvancedKeyTablesTest, OneAdvancedKeySharesItsSlotAndMismatchedKeysStayZero)
{
    AddKey(1, KMT_DKS, 9, 9);
    AddKey(2, KMT_TGL, 0x04, 0);  // stored as toggle, bound as DKS
    const AdvancedTables t = Build({
        Row(0, 0x04, KMT_DKS, 1),
        Row(3, 0x04, KMT_DKS, 1),
        Row(0, 0x05, KMT_DKS, 2),
        Row(0, 0x06, KMT_DKS, 99),  // no such advanced key
        Row(0, 0x07, KMT_KEY, 1),
    });
    EXPECT_EQ(t.slotMaps.dks, (AdvancedSlots{{{0x04, 1}, 0}, {{0x05, 2}, 1}, {{0x06, 99}, 2}}));
    EXPECT_EQ(t.dks[0], 9);
    for (size_t i = 24; i < 72; ++i) ASSERT_EQ(t.dks[i], 0) << i;
    EXPECT_TRUE(t.slotMaps.pair.empty());
    EXPECT_TRUE(t.slotMaps.toggle.empty());
}

// K holds one rapid-snap pair with M on layer 0 and another with L on layer 1: each pair has
// its own slots, and each layer's row finds its own pair's.
TEST_F(AdvancedKeyTablesTest, OneKeyWithTwoAdvancedKeysOnTwoLayersHasASlotForEach)
{
    AddKey(2, KMT_RS, 0, 0);
    AddKey(3, KMT_RS, 0, 0);
    const std::vector<KeyMacroRecord> rows = {
        Row(0, 0x04, KMT_RS, 3, 0x06),
        Row(0, 0x06, KMT_RS, 3, 0x04),
        Row(1, 0x04, KMT_RS, 2, 0x05),
        Row(1, 0x05, KMT_RS, 2, 0x04),
    };
    const AdvancedTables t = Build(rows);

    const std::vector<uint8_t> pair(t.pair.begin(), t.pair.begin() + 30);
    const std::vector<uint8_t> expected = {
        0x10, 0x00, 0x04, 0x10, 0x00, 0x06,  // layer 0: K, M
        0x10, 0x00, 0x06, 0x10, 0x00, 0x04,  //          M, K
        0x10, 0x00, 0x04, 0x10, 0x00, 0x05,  // layer 1: K, L
        0x10, 0x00, 0x05, 0x10, 0x00, 0x04,  //          L, K
        0,    0,    0,    0,    0,    0,
    };
    EXPECT_EQ(pair, expected);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(t.slotMaps.SlotOf(rows[i]), i) << i;
    KeyMacroRecord plain = rows[0];
    plain.macro_type = KMT_KEY;
    EXPECT_EQ(t.slotMaps.SlotOf(plain), -1);
}

TEST_F(AdvancedKeyTablesTest, KeysPastATablesSlotsGetNoSlot)
{
    std::vector<KeyMacroRecord> rows;
    for (int i = 0; i < kDksSlots + 2; ++i) {
        AddKey(100 + i, KMT_DKS, 0xFFFF, 0xFFFF);
        for (int k = 0; k < 4; ++k) AddItem(100 + i, 0x04, 0xFFFF);
        rows.push_back(Row(0, 1 + i, KMT_DKS, 100 + i));
    }
    for (int i = 0; i < kToggleSlots + 1; ++i) {
        AddKey(200 + i, KMT_TGL, 0x04, 0);
        rows.push_back(Row(0, 1 + i, KMT_TGL, 200 + i));
    }
    const AdvancedTables t = Build(rows);
    EXPECT_EQ(t.slotMaps.dks.size(), 32u);
    EXPECT_FALSE(t.slotMaps.dks.contains({kDksSlots + 1, 100 + kDksSlots}));
    EXPECT_EQ(t.slotMaps.toggle.size(), 42u);
    EXPECT_EQ(t.dks.back(), 0xFF);   // the last slot is filled, nothing beyond it exists
    EXPECT_EQ(t.toggle[123], 0x10);  // slot 41
    EXPECT_EQ(t.toggle[125], 0x04);
    EXPECT_EQ(t.toggle[126], 0);  // the two spare bytes stay zero
}

}  // namespace
