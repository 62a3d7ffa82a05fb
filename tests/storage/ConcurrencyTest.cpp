#include <atomic>
#include <chrono>
#include <thread>

#include "StorageFixture.h"

namespace storage_test {
namespace {

using ConcurrencyTest = StorageTest;

struct MadeMacro {
    int id;
    std::wstring name;
    int steps;
};

struct ThreadResult {
    std::vector<MadeMacro> macros;  // the ones still present
    std::vector<int> profiles;
    int errors = 0;
    int iterations = 0;
};

// One thread's mix of work: macros with steps (a third deleted again), profiles with their
// default rows, key rows and config values, and advanced keys made and deleted.
void Work(int thread, std::chrono::steady_clock::time_point deadline, ThreadResult& result)
{
    KBDataBase& db = KBDataBase::GetInstance();
    auto check = [&result](bool ok) {
        if (!ok) {
            ++result.errors;
        }
    };
    for (int i = 0; std::chrono::steady_clock::now() < deadline; ++i) {
        const std::wstring name = L"T" + std::to_wstring(thread) + L"-" + std::to_wstring(i);
        const int macro = db.InsertNewMacro(name);
        check(macro > 0);
        std::vector<MacroStepRecord> steps(1 + i % 5);
        for (size_t s = 0; s < steps.size(); ++s) {
            steps[s].macro_id = macro;
            steps[s].record_index = static_cast<int>(steps.size() - s);
        }
        db.InsertMacroSteps(steps);
        std::vector<MacroStepRecord*> read;
        check(db.GetMacroSteps(macro, read) == static_cast<int>(steps.size()));
        check(!read.empty() && read.front()->record_index == 1);
        DeleteAll(read);
        if (i % 3 == 2) {
            check(db.DeleteMacro(macro));
        } else {
            result.macros.push_back({macro, name, static_cast<int>(steps.size())});
        }

        ProfileRecord profile;
        profile.type = 1;
        profile.name = name;
        const int id = db.InsertProfile(profile);
        check(id > 0);
        db.InsertDefaultConfig(id);
        check(db.SetConfig(id, L"tick_rate", std::to_wstring(i)));
        std::wstring value;
        check(db.GetConfig(id, L"tick_rate", value) && value == std::to_wstring(i));
        std::vector<KeyMacroRecord> keys(8);
        for (size_t k = 0; k < keys.size(); ++k) {
            keys[k].profile = id;
            keys[k].key_code = static_cast<int>(k);
        }
        db.InsertKeyMacros(keys);
        db.UpdateKeyMacros(keys);
        std::vector<KeyMacroRecord*> layer;
        check(db.GetLayerKeyMacros(id, 0, layer) == 8);
        DeleteAll(layer);
        result.profiles.push_back(id);

        MagneticKeyRecord advanced;
        advanced.profile = id;
        const int advancedId = db.InsertMagneticKey(advanced);
        check(advancedId > 0);
        KeyItemRecord item;
        item.macro_id = advancedId;
        check(db.InsertKeyItem(item) > 0);
        check(db.DeleteMagneticKey(advancedId));
        result.iterations = i + 1;
    }
}

TEST_F(ConcurrencyTest, TwoThreadsOfMixedOperationsLoseNothing)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    ThreadResult results[2];
    std::thread first(Work, 0, deadline, std::ref(results[0]));
    std::thread second(Work, 1, deadline, std::ref(results[1]));
    first.join();
    second.join();

    size_t macros = 0;
    size_t profiles = 0;
    int steps = 0;
    for (const ThreadResult& result : results) {
        EXPECT_EQ(result.errors, 0);
        EXPECT_GT(result.iterations, 0);
        for (const MadeMacro& made : result.macros) {
            MacroRecord macro;
            ASSERT_TRUE(db().GetMacro(made.id, macro)) << made.id;
            EXPECT_EQ(macro.name, made.name);
            EXPECT_EQ(db().GetMacroStepCount(made.id), made.steps);
            steps += made.steps;
        }
        for (int id : result.profiles) {
            std::wstring name;
            EXPECT_TRUE(db().GetProfileName(id, name));
            EXPECT_EQ(db().GetKeyMacroCount(id), 8);
        }
        macros += result.macros.size();
        profiles += result.profiles.size();
    }
    std::vector<MacroRecord*> all;
    EXPECT_EQ(db().GetMacros(all), static_cast<int>(macros));
    DeleteAll(all);
    EXPECT_EQ(db().GetMacroStepTotal(), steps);
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_profile_data"), static_cast<int>(profiles));
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_config_data"),
              static_cast<int>(44 * (profiles + 1)));
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_magnetic_key_data"), 0);
    EXPECT_EQ(QueryInt(path_, "SELECT count(*) FROM t_key_item_data"), 0);
}

}  // namespace
}  // namespace storage_test
