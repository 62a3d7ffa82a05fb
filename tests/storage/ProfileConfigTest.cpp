#include "StorageFixture.h"

namespace storage_test {
namespace {

using ProfileConfigTest = StorageTest;

ProfileRecord UserProfile(const std::wstring& name)
{
    ProfileRecord record;
    record.type = 1;
    record.name = name;
    return record;
}

TEST_F(ProfileConfigTest, ConfigValuesReadAndWriteOnlyExistingKeys)
{
    std::wstring value;
    ASSERT_TRUE(db().GetConfig(0, L"global_key_actuation", value));
    EXPECT_EQ(value, L"75");

    EXPECT_TRUE(db().SetConfig(0, L"global_key_actuation", L"\u4e2d\u6587 120"));
    ASSERT_TRUE(db().GetConfig(0, L"global_key_actuation", value));
    EXPECT_EQ(value, L"\u4e2d\u6587 120");
    // The other profile's key of the same name is not touched.
    db().InsertDefaultConfig(5);
    ASSERT_TRUE(db().GetConfig(5, L"global_key_actuation", value));
    EXPECT_EQ(value, L"75");

    // A key without a row: the write matches nothing yet succeeds and adds nothing.
    EXPECT_TRUE(db().SetConfig(0, L"no_such_key", L"1"));
    value = L"stale";
    EXPECT_FALSE(db().GetConfig(0, L"no_such_key", value));
    EXPECT_TRUE(value.empty());
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_config_data"), 88);
}

TEST_F(ProfileConfigTest, InsertDefaultConfigGivesAProfileAll44Keys)
{
    db().InsertDefaultConfig(7);
    EXPECT_EQ(
        Query(path_, "SELECT key, value FROM t_config_data WHERE profile = 7 ORDER BY config_id"),
        Query(path_, "SELECT key, value FROM t_config_data WHERE profile = 0 ORDER BY config_id"));
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_config_data WHERE profile = 7"), 44);
}

TEST_F(ProfileConfigTest, ProfilesRoundTripNamesAndNeverReuseIds)
{
    ProfileRecord first = UserProfile(L"\u6e38\u620f\u914d\u7f6e \U0001F3AE");
    first.status = 1;  // ignored: a new profile is never the active one
    EXPECT_EQ(db().InsertProfile(first), 1);
    ProfileRecord second = UserProfile(L"Office");
    EXPECT_EQ(db().InsertProfile(second), 2);
    EXPECT_TRUE(db().DeleteProfile(2));
    EXPECT_EQ(db().InsertProfile(second), 3);

    std::vector<ProfileRecord*> profiles{new ProfileRecord, new ProfileRecord};
    ASSERT_EQ(db().GetProfiles(profiles), 2);
    EXPECT_EQ(profiles[0]->profile, 1);
    EXPECT_EQ(profiles[0]->type, 1);
    EXPECT_EQ(profiles[0]->name, first.name);
    EXPECT_EQ(profiles[0]->status, 0);
    EXPECT_EQ(profiles[1]->profile, 3);
    DeleteAll(profiles);

    EXPECT_TRUE(db().RenameProfile(3, L"\u00c9t\u00e9"));
    std::wstring name = L"stale";
    EXPECT_TRUE(db().GetProfileName(3, name));
    EXPECT_EQ(name, L"\u00c9t\u00e9");
    EXPECT_FALSE(db().GetProfileName(2, name));
    EXPECT_TRUE(name.empty());
    // Deleting or renaming a missing profile matches nothing and still succeeds.
    EXPECT_TRUE(db().DeleteProfile(99));
    EXPECT_TRUE(db().RenameProfile(99, L"x"));
}

TEST_F(ProfileConfigTest, GetProfilesListsOnlyUserProfiles)
{
    ProfileRecord user = UserProfile(L"User");
    ProfileRecord other = UserProfile(L"Other");
    other.type = 2;
    db().InsertProfile(user);
    db().InsertProfile(other);
    std::vector<ProfileRecord*> profiles;
    ASSERT_EQ(db().GetProfiles(profiles), 1);
    EXPECT_EQ(profiles[0]->name, L"User");
    DeleteAll(profiles);
}

TEST_F(ProfileConfigTest, OneActiveProfileAtATime)
{
    EXPECT_EQ(db().GetActiveProfile(), 0);
    for (int i = 0; i < 3; ++i) {
        ProfileRecord record = UserProfile(L"P");
        db().InsertProfile(record);
    }
    EXPECT_TRUE(db().SetActiveProfile(2));
    EXPECT_EQ(db().GetActiveProfile(), 2);
    EXPECT_TRUE(db().SetActiveProfile(3));
    EXPECT_EQ(db().GetActiveProfile(), 3);
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_profile_data WHERE status = 1"), 1);
    // An unknown id clears every profile and still reports success.
    EXPECT_TRUE(db().SetActiveProfile(42));
    EXPECT_EQ(db().GetActiveProfile(), 0);
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_profile_data WHERE status = 1"), 0);
}

TEST_F(ProfileConfigTest, MusicLayerStoresFixedDefaultsAndUpdatesAllButTheName)
{
    EXPECT_EQ(db().GetMusicLayerCount(4), 0);
    MusicLayerRecord layer;
    EXPECT_FALSE(db().GetMusicLayer(4, layer));
    EXPECT_EQ(db().InsertMusicLayer(4, L"\u97f3\u4e50", 3), 1);
    EXPECT_EQ(db().GetMusicLayerCount(4), 1);
    EXPECT_EQ(Query(path_,
                    "SELECT deviceindex, foremode, fore_amplitude, backmode, backb_right, "
                    "sel FROM t_musiclayer_data"),
              (Rows{{"0", "3", "4", "0", "20", "0"}}));

    layer.name = L"ignored";
    layer.deviceindex = 2;
    layer.foremode = 5;
    layer.fore_amplitude = 6;
    layer.backmode = 7;
    layer.backb_right = 8;
    EXPECT_TRUE(db().UpdateMusicLayer(4, layer));
    MusicLayerRecord read;
    ASSERT_TRUE(db().GetMusicLayer(4, read));
    EXPECT_EQ(read.layer_id, 1);
    EXPECT_EQ(read.profile, 4);
    EXPECT_EQ(read.name, L"\u97f3\u4e50");
    EXPECT_EQ(read.deviceindex, 2);
    EXPECT_EQ(read.foremode, 5);
    EXPECT_EQ(read.fore_amplitude, 6);
    EXPECT_EQ(read.backmode, 7);
    EXPECT_EQ(read.backb_right, 8);
    // A profile without a layer: the update matches nothing and adds nothing.
    EXPECT_TRUE(db().UpdateMusicLayer(9, layer));
    EXPECT_EQ(db().GetMusicLayerCount(9), 0);
}

TEST(TextConversion, WideTextIsCutAtNulAndNullTextIsEmpty)
{
    EXPECT_EQ(KBDataBase::WideToUtf8(std::wstring(L"a\u00e9\0tail", 7)), "a\xC3\xA9");
    EXPECT_EQ(KBDataBase::Utf8ToWide("\xE4\xB8\xAD"), L"\u4e2d");
    EXPECT_EQ(KBDataBase::Utf8ToWide(nullptr), L"");
}

}  // namespace
}  // namespace storage_test
