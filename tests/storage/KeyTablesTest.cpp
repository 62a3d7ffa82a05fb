#include "StorageFixture.h"

namespace storage_test {
namespace {

using KeyTablesTest = StorageTest;

KeyMacroRecord KeyMacro(int profile, int layer, int code, int type, int value,
                        const std::wstring& desc = L"")
{
    KeyMacroRecord record;
    record.profile = profile;
    record.fn_layer = layer;
    record.key_code = code;
    record.macro_type = type;
    record.macro_value = value;
    record.macro_value2 = value + 1;
    record.macro_value3 = value + 2;
    record.macro_desc = desc;
    return record;
}

TEST_F(KeyTablesTest, KeyMacrosRoundTripEveryField)
{
    db().InsertKeyMacros({KeyMacro(1, 0, 0x29, 2, 10, L"\u952e Esc"), KeyMacro(1, 0, 0x3A, 3, 20),
                          KeyMacro(1, 2, 0x29, 4, 30), KeyMacro(2, 0, 0x29, 5, 40)});
    EXPECT_EQ(db().GetKeyMacroCount(1), 3);

    std::vector<KeyMacroRecord*> layer{new KeyMacroRecord};
    ASSERT_EQ(db().GetLayerKeyMacros(1, 0, layer), 2);
    EXPECT_EQ(layer[0]->key_id, 1);
    EXPECT_EQ(layer[0]->profile, 1);
    EXPECT_EQ(layer[0]->fn_layer, 0);
    EXPECT_EQ(layer[0]->key_code, 0x29);
    EXPECT_EQ(layer[0]->macro_type, 2);
    EXPECT_EQ(layer[0]->macro_value, 10);
    EXPECT_EQ(layer[0]->macro_value2, 11);
    EXPECT_EQ(layer[0]->macro_value3, 12);
    EXPECT_EQ(layer[0]->macro_desc, L"\u952e Esc");
    EXPECT_EQ(layer[1]->key_code, 0x3A);
    DeleteAll(layer);

    std::vector<KeyMacroRecord*> all;
    EXPECT_EQ(db().GetProfileKeyMacros(1, all), 3);
    EXPECT_EQ(db().GetAllKeyMacros(all), 4);
    DeleteAll(all);

    KeyMacroRecord one;
    ASSERT_TRUE(db().GetKeyMacro(1, 2, 0x29, one));
    EXPECT_EQ(one.macro_value, 30);
    KeyMacroRecord untouched = KeyMacro(9, 9, 9, 9, 9, L"keep");
    EXPECT_FALSE(db().GetKeyMacro(1, 5, 0x29, untouched));
    EXPECT_EQ(untouched.macro_desc, L"keep");
    EXPECT_EQ(untouched.key_code, 9);
}

TEST_F(KeyTablesTest, KeyMacroUpdatesMatchProfileLayerAndCodeAndNeverAddRows)
{
    db().InsertKeyMacros(
        {KeyMacro(1, 0, 0x04, 2, 1), KeyMacro(1, 1, 0x04, 2, 1), KeyMacro(2, 0, 0x04, 2, 1)});
    KeyMacroRecord change = KeyMacro(1, 1, 0x04, 7, 70, L"\u00fc");
    db().UpdateKeyMacro(change);
    KeyMacroRecord missing = KeyMacro(1, 3, 0x04, 7, 70);
    db().UpdateKeyMacro(missing);
    db().UpdateKeyMacros({KeyMacro(2, 0, 0x04, 8, 80), KeyMacro(2, 0, 0x05, 8, 80)});

    EXPECT_EQ(Query(path_,
                    "SELECT profile, fn_layer, key_code, macro_type, macro_value, "
                    "macro_value2, macro_value3, macro_desc FROM t_key_macro_data "
                    "ORDER BY key_id"),
              (Rows{{"1", "0", "4", "2", "1", "2", "3", ""},
                    {"1", "1", "4", "7", "70", "71", "72", "\xC3\xBC"},
                    {"2", "0", "4", "8", "80", "81", "82", ""}}));
}

TEST_F(KeyTablesTest, EmptyMultiRowWritesLeaveNoOpenTransaction)
{
    db().InsertKeyMacros({});
    db().UpdateKeyMacros({});
    db().InsertKeyPerfs({});
    db().UpdateKeyPerfs({});
    db().InsertMacroSteps({});
    EXPECT_EQ(db().InsertUserLightRgbs({}), 0);
    // A transaction left open would be rolled back by the close and lose this row.
    ProfileRecord profile;
    profile.type = 1;
    ASSERT_EQ(db().InsertProfile(profile), 1);
    Reopen();
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_profile_data"), 1);
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_key_macro_data"), 0);
}

TEST_F(KeyTablesTest, KeyPerfsRoundTripAndUpdateByProfileAndCode)
{
    std::vector<KeyPerfRecord> perfs;
    for (int code = 1; code <= 3; ++code) {
        KeyPerfRecord perf;
        perf.profile = 1;
        perf.key_code = code;
        perf.switch_type = 10 + code;
        perf.key_mode = 20 + code;
        perf.key_actuation = 30 + code;
        perf.rt_press = 40 + code;
        perf.rt_release = 50 + code;
        perf.deadzone_state = 60 + code;
        perf.press_deadzone = 70 + code;
        perf.release_deadzone = 80 + code;
        perfs.push_back(perf);
    }
    db().InsertKeyPerfs(perfs);
    EXPECT_EQ(db().GetKeyPerfCount(1), 3);
    EXPECT_EQ(db().GetKeyPerfCount(2), 0);

    perfs[1].key_actuation = 99;
    perfs[1].release_deadzone = -5;
    perfs[1].perf_id = 77;  // not a match criterion
    KeyPerfRecord stranger = perfs[0];
    stranger.profile = 2;
    stranger.key_actuation = 1;
    db().UpdateKeyPerfs({perfs[1], stranger});

    std::vector<KeyPerfRecord*> read;
    ASSERT_EQ(db().GetKeyPerfs(1, read), 3);
    const KeyPerfRecord& r = *read[1];
    EXPECT_EQ(r.perf_id, 2);
    EXPECT_EQ(r.profile, 1);
    EXPECT_EQ(r.key_code, 2);
    EXPECT_EQ(r.switch_type, 12);
    EXPECT_EQ(r.key_mode, 22);
    EXPECT_EQ(r.key_actuation, 99);
    EXPECT_EQ(r.rt_press, 42);
    EXPECT_EQ(r.rt_release, 52);
    EXPECT_EQ(r.deadzone_state, 62);
    EXPECT_EQ(r.press_deadzone, 72);
    EXPECT_EQ(r.release_deadzone, -5);
    EXPECT_EQ(read[0]->key_actuation, 31);
    DeleteAll(read);
    EXPECT_EQ(db().GetKeyPerfCount(2), 0);
}

MagneticKeyRecord AdvancedKey(int profile, int type)
{
    MagneticKeyRecord record;
    record.profile = profile;
    record.name = L"\u9ad8\u7ea7";
    record.key_value = 0x00050004;
    record.fn_layer = 1;
    record.macro_type = type;
    record.key1_value = 11;
    record.key2_value = 12;
    record.ui_value1 = 5;
    record.ui_value2 = 6;
    record.key1_name = L"A";
    record.key2_name = L"\u00df";
    record.reserved = 200;
    return record;
}

TEST_F(KeyTablesTest, MagneticKeysRoundTripAndUpdateOnlyTheirKeys)
{
    MagneticKeyRecord dks = AdvancedKey(1, 14);
    EXPECT_EQ(db().InsertMagneticKey(dks), 1);
    MagneticKeyRecord mt = AdvancedKey(1, 15);
    EXPECT_EQ(db().InsertMagneticKey(mt), 2);

    MagneticKeyRecord change = AdvancedKey(9, 19);
    change.name = L"new name";
    change.key_value = 1;
    change.key1_value = 21;
    change.key2_value = 22;
    change.key1_name = L"\u4e00";
    change.key2_name = L"\u4e8c";
    change.reserved = 300;
    EXPECT_TRUE(db().UpdateMagneticKey(2, change));
    EXPECT_TRUE(db().UpdateMagneticKey(50, change));  // no row: still success

    MagneticKeyRecord read;
    read.ui_value1 = 3;
    ASSERT_TRUE(db().GetMagneticKey(2, read));
    EXPECT_EQ(read.macro_id, 2);
    EXPECT_EQ(read.profile, 1);
    EXPECT_EQ(read.name, L"\u9ad8\u7ea7");
    EXPECT_EQ(read.key_value, 0x00050004);
    EXPECT_EQ(read.fn_layer, 1);
    EXPECT_EQ(read.macro_type, 15);
    EXPECT_EQ(read.key1_value, 21);
    EXPECT_EQ(read.key2_value, 22);
    EXPECT_EQ(read.ui_value1, 0);
    EXPECT_EQ(read.ui_value2, 0);
    EXPECT_EQ(read.key1_name, L"\u4e00");
    EXPECT_EQ(read.key2_name, L"\u4e8c");
    EXPECT_EQ(read.reserved, 300);
    EXPECT_FALSE(db().GetMagneticKey(50, read));
    EXPECT_EQ(read.macro_id, 2);

    std::vector<MagneticKeyRecord*> keys;
    ASSERT_EQ(db().GetMagneticKeys(1, keys), 2);
    EXPECT_EQ(keys[0]->macro_type, 14);
    EXPECT_EQ(keys[0]->ui_value1, 0);
    EXPECT_EQ(keys[0]->key2_name, L"\u00df");
    DeleteAll(keys);
}

KeyItemRecord Binding(int macroId, int state, int value)
{
    KeyItemRecord item;
    item.macro_id = macroId;
    item.trigger_state1 = state;
    item.trigger_state2 = state + 1;
    item.trigger_state3 = state + 2;
    item.trigger_state4 = state + 3;
    item.key_value = value;
    item.key_name = L"\u56de\u8f66";
    item.ui_value = 9;
    return item;
}

TEST_F(KeyTablesTest, KeyItemsRoundTrip)
{
    KeyItemRecord first = Binding(1, 10, 0x28);
    KeyItemRecord second = Binding(1, 20, 0x29);
    KeyItemRecord other = Binding(2, 30, 0x2A);
    EXPECT_EQ(db().InsertKeyItem(first), 1);
    EXPECT_EQ(db().InsertKeyItem(second), 2);
    EXPECT_EQ(db().InsertKeyItem(other), 3);
    std::vector<KeyItemRecord*> items;
    ASSERT_EQ(db().GetKeyItems(1, items), 2);
    EXPECT_EQ(items[0]->keyitem_id, 1);
    EXPECT_EQ(items[0]->macro_id, 1);
    EXPECT_EQ(items[0]->trigger_state1, 10);
    EXPECT_EQ(items[0]->trigger_state2, 11);
    EXPECT_EQ(items[0]->trigger_state3, 12);
    EXPECT_EQ(items[0]->trigger_state4, 13);
    EXPECT_EQ(items[0]->key_value, 0x28);
    EXPECT_EQ(items[0]->key_name, L"\u56de\u8f66");
    EXPECT_EQ(items[0]->ui_value, 0);
    EXPECT_EQ(items[1]->trigger_state1, 20);
    EXPECT_TRUE(db().DeleteKeyItems(1));
    EXPECT_EQ(db().GetKeyItems(1, items), 0);
    EXPECT_EQ(db().GetKeyItems(2, items), 1);
    DeleteAll(items);
}

TEST_F(KeyTablesTest, DeleteMagneticKeyRemovesItsBindingsEvenWithoutAHeaderRow)
{
    MagneticKeyRecord key = AdvancedKey(1, 14);
    ASSERT_EQ(db().InsertMagneticKey(key), 1);
    for (int row = 0; row < 4; ++row) {
        KeyItemRecord item = Binding(1, row, row);
        db().InsertKeyItem(item);
    }
    KeyItemRecord orphan = Binding(7, 0, 0);
    db().InsertKeyItem(orphan);
    KeyItemRecord kept = Binding(2, 0, 0);
    db().InsertKeyItem(kept);

    EXPECT_TRUE(db().DeleteMagneticKey(1));
    EXPECT_TRUE(db().DeleteMagneticKey(7));
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_magnetic_key_data"), 0);
    EXPECT_EQ(Query(path_, "SELECT macro_id FROM t_key_item_data"), (Rows{{"2"}}));

    // Ids stay unique after deletions.
    MagneticKeyRecord next = AdvancedKey(1, 16);
    EXPECT_EQ(db().InsertMagneticKey(next), 2);
    KeyItemRecord item = Binding(2, 0, 0);
    EXPECT_EQ(db().InsertKeyItem(item), 7);
}

}  // namespace
}  // namespace storage_test
