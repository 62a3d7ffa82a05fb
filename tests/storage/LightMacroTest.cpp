#include "StorageFixture.h"

namespace storage_test {
namespace {

using LightMacroTest = StorageTest;

LightRecord Light(int profile, int mode, int base)
{
    LightRecord record;
    record.profile = profile;
    record.name = L"\u5149 " + std::to_wstring(mode);
    record.mode = mode;
    record.brightness = base + 1;
    record.speed = base + 2;
    record.direction = base + 3;
    record.colorful = base + 4;
    record.colorindex = base + 5;
    record.color_value = 0x00FF8040;
    record.config_func = base + 7;
    record.reserved = base + 8;
    record.status = 0;
    return record;
}

TEST_F(LightMacroTest, LightsRoundTripAndUpdateByProfileAndMode)
{
    for (int mode = 1; mode <= 3; ++mode) {
        LightRecord record = Light(1, mode, mode * 10);
        EXPECT_EQ(db().InsertLight(record), mode);
    }
    LightRecord otherProfile = Light(2, 2, 0);
    db().InsertLight(otherProfile);
    EXPECT_EQ(db().GetLightCount(1), 3);

    LightRecord change = Light(1, 99, 100);  // the mode argument selects the row, not the record
    change.name = L"not stored";
    EXPECT_TRUE(db().UpdateLight(2, change));
    LightRecord read;
    ASSERT_TRUE(db().GetLight(1, 2, read));
    EXPECT_EQ(read.light_id, 2);
    EXPECT_EQ(read.profile, 1);
    EXPECT_EQ(read.name, L"\u5149 2");
    EXPECT_EQ(read.mode, 2);
    EXPECT_EQ(read.brightness, 101);
    EXPECT_EQ(read.speed, 102);
    EXPECT_EQ(read.direction, 103);
    EXPECT_EQ(read.colorful, 104);
    EXPECT_EQ(read.colorindex, 105);
    EXPECT_EQ(read.color_value, 0x00FF8040);
    EXPECT_EQ(read.config_func, 107);
    EXPECT_EQ(read.reserved, 108);
    EXPECT_EQ(read.status, 0);
    ASSERT_TRUE(db().GetLight(2, 2, read));
    EXPECT_EQ(read.brightness, 1);
    EXPECT_FALSE(db().GetLight(1, 7, read));
    EXPECT_EQ(read.profile, 2);

    std::vector<LightRecord*> lights;
    ASSERT_EQ(db().GetLights(1, lights), 3);
    EXPECT_EQ(lights[2]->mode, 3);
    EXPECT_EQ(lights[2]->speed, 32);
    DeleteAll(lights);
}

TEST_F(LightMacroTest, ActiveLightModeIsOnePerProfile)
{
    EXPECT_EQ(db().GetActiveLightMode(1), 0);
    for (int mode = 1; mode <= 3; ++mode) {
        LightRecord record = Light(1, mode, 0);
        db().InsertLight(record);
        LightRecord other = Light(2, mode, 0);
        db().InsertLight(other);
    }
    EXPECT_TRUE(db().SetActiveLightMode(2, 1));
    EXPECT_TRUE(db().SetActiveLightMode(1, 3));
    EXPECT_TRUE(db().SetActiveLightMode(1, 2));
    EXPECT_EQ(db().GetActiveLightMode(1), 2);
    EXPECT_EQ(db().GetActiveLightMode(2), 1);
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_light_data WHERE status = 1"), 2);
    EXPECT_TRUE(db().SetActiveLightMode(1, 9));
    EXPECT_EQ(db().GetActiveLightMode(1), 0);
    EXPECT_EQ(db().GetActiveLightMode(3), 0);
}

TEST_F(LightMacroTest, UserLightColoursAreWrittenReadAndDeletedPerLayout)
{
    std::vector<UserLightRgbRecord> colours;
    for (int code = 0; code < 5; ++code) {
        UserLightRgbRecord colour;
        colour.profile = 1;
        colour.userlight_id = code < 3 ? 1 : 2;
        colour.key_code = code;
        colour.key_rgb = 0x0000FF + code;
        colours.push_back(colour);
    }
    EXPECT_EQ(db().InsertUserLightRgbs(colours), 5);
    std::vector<UserLightRgbRecord*> read;
    ASSERT_EQ(db().GetUserLightRgbs(1, read), 3);
    EXPECT_EQ(read[2]->userlightrgb_id, 3);
    EXPECT_EQ(read[2]->profile, 1);
    EXPECT_EQ(read[2]->userlight_id, 1);
    EXPECT_EQ(read[2]->key_code, 2);
    EXPECT_EQ(read[2]->key_rgb, 0x000101);
    EXPECT_TRUE(db().DeleteUserLightRgbs(1));
    EXPECT_EQ(db().GetUserLightRgbs(1, read), 0);
    EXPECT_EQ(db().GetUserLightRgbs(2, read), 2);
    DeleteAll(read);
}

TEST_F(LightMacroTest, MacroHeadersKeepTheirFieldsApart)
{
    EXPECT_EQ(db().InsertNewMacro(L"\u5b8f \u4e00"), 1);
    MacroRecord imported;
    imported.name = L"Imported";
    imported.link_count = 4;
    imported.play_times = 5;
    imported.delay_type = 6;
    imported.delay_time = 7;
    EXPECT_EQ(db().InsertMacro(imported), 2);

    MacroRecord read;
    ASSERT_TRUE(db().GetMacro(1, read));
    EXPECT_EQ(read.macro_id, 1);
    EXPECT_EQ(read.name, L"\u5b8f \u4e00");
    EXPECT_EQ(read.play_times, 1);
    EXPECT_EQ(read.delay_type, 1);
    EXPECT_EQ(read.delay_time, 0);
    EXPECT_EQ(read.link_count, 0);

    MacroRecord change = imported;
    change.macro_id = 2;
    change.name = L"renamed";
    change.link_count = 40;
    change.play_times = 50;
    change.delay_type = 60;
    change.delay_time = 70;
    EXPECT_TRUE(db().UpdateMacro(change));
    std::vector<MacroRecord*> macros;
    ASSERT_EQ(db().GetMacros(macros), 2);
    EXPECT_EQ(macros[1]->macro_id, 2);
    EXPECT_EQ(macros[1]->name, L"Imported");
    EXPECT_EQ(macros[1]->link_count, 40);
    EXPECT_EQ(macros[1]->play_times, 50);
    EXPECT_EQ(macros[1]->delay_type, 60);
    EXPECT_EQ(macros[1]->delay_time, 70);
    DeleteAll(macros);
    EXPECT_FALSE(db().GetMacro(3, read));
    EXPECT_EQ(read.macro_id, 1);
}

MacroStepRecord Step(int macroId, int index, int value)
{
    MacroStepRecord step;
    step.macro_id = macroId;
    step.type = 2;
    step.record_index = index;
    step.value = value;
    step.delay_time = index * 10;
    step.desc = L"\u6309\u4e0b " + std::to_wstring(index);
    return step;
}

TEST_F(LightMacroTest, MacroStepsComeBackInRecordIndexOrder)
{
    db().InsertMacroSteps({Step(1, 2, 0x41), Step(1, 0, 0x42), Step(2, 0, 0x43)});
    EXPECT_EQ(db().InsertMacroStep(Step(1, 1, 0x44)), 4);

    std::vector<MacroStepRecord*> steps;
    ASSERT_EQ(db().GetMacroSteps(1, steps), 3);
    EXPECT_EQ(steps[0]->record_index, 0);
    EXPECT_EQ(steps[1]->record_index, 1);
    EXPECT_EQ(steps[2]->record_index, 2);
    const MacroStepRecord& last = *steps[2];
    EXPECT_EQ(last.record_id, 1);
    EXPECT_EQ(last.macro_id, 1);
    EXPECT_EQ(last.type, 2);
    EXPECT_EQ(last.value, 0x41);
    EXPECT_EQ(last.delay_time, 20);
    EXPECT_EQ(last.desc, L"\u6309\u4e0b 2");
    DeleteAll(steps);
    EXPECT_EQ(db().GetMacroStepCount(1), 3);
    EXPECT_EQ(db().GetMacroStepTotal(), 4);

    EXPECT_TRUE(db().DeleteMacroSteps(1));
    EXPECT_EQ(db().GetMacroStepCount(1), 0);
    EXPECT_EQ(db().GetMacroStepTotal(), 1);
    EXPECT_EQ(db().InsertMacroStep(Step(1, 0, 0)), 5);
}

TEST_F(LightMacroTest, DeleteMacroRemovesStepsAndEveryKeyThatPlaysIt)
{
    ASSERT_EQ(db().InsertNewMacro(L"M1"), 1);
    ASSERT_EQ(db().InsertNewMacro(L"M2"), 2);
    db().InsertMacroSteps({Step(1, 0, 1), Step(1, 1, 2), Step(2, 0, 3)});
    auto key = [](int profile, int layer, int code, int type, int value) {
        KeyMacroRecord record;
        record.profile = profile;
        record.fn_layer = layer;
        record.key_code = code;
        record.macro_type = type;
        record.macro_value = value;
        return record;
    };
    db().InsertKeyMacros(
        {key(1, 0, 4, 3, 1), key(2, 3, 5, 3, 1), key(1, 0, 6, 3, 2), key(1, 0, 7, 2, 1)});

    EXPECT_TRUE(db().DeleteMacro(1));
    MacroRecord macro;
    EXPECT_FALSE(db().GetMacro(1, macro));
    EXPECT_EQ(db().GetMacroStepCount(1), 0);
    KeyMacroRecord record;
    EXPECT_FALSE(db().GetKeyMacro(1, 0, 4, record));
    EXPECT_FALSE(db().GetKeyMacro(2, 3, 5, record));
    EXPECT_EQ(Query(path_, "SELECT key_code FROM t_key_macro_data ORDER BY key_id"),
              (Rows{{"6"}, {"7"}}));

    // A macro whose header is already gone still loses its steps and keys.
    EXPECT_TRUE(db().DeleteMacro(3) && db().DeleteMacro(2));
    db().InsertMacroSteps({Step(7, 0, 1)});
    db().InsertKeyMacros({key(1, 1, 8, 3, 7)});
    EXPECT_TRUE(db().DeleteMacro(7));
    EXPECT_EQ(db().GetMacroStepTotal(), 0);
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_key_macro_data WHERE macro_type = 3"), 0);
    EXPECT_EQ(db().InsertNewMacro(L"M3"), 3);
}

}  // namespace
}  // namespace storage_test
