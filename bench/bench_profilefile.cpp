// Export and import of one full profile file through the database: 9 layers x 128 key rows,
// 128 performance rows and user colours, every lighting mode, the music row, 44 configuration
// rows, 32 DKS keys with four bindings each, 10 other advanced keys and 3 macros of 50 steps
// played by keys.
// - export: the rows read, the document built and written to disk;
// - import: the file read, checked and stored as a new profile with its default rows, in one
//   transaction.
// Goal: under 100 ms each. Each is run 20 times; the median is the figure to read.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "device/KeyMacroType.h"
#include "keys/KeyDefaults.h"
#include "keys/KeyPerfDefaults.h"
#include "lighting/DefaultLightRows.h"
#include "macros/ProfileFile.h"
#include "macros/ProfileFileRows.h"
#include "storage/KBDataBase.h"

namespace {

constexpr int kRuns = 20;
constexpr int kKeys = 128;
constexpr int kFirstCode = 4;
constexpr int kDksKeys = 32;
constexpr int kOtherAdvancedKeys = 10;
constexpr int kMacros = 3;
constexpr int kSteps = 50;

std::vector<int> Codes()
{
    std::vector<int> codes;
    for (int i = 0; i < kKeys; ++i) codes.push_back(kFirstCode + i);
    return codes;
}

ProfileDefaultRows Defaults(KBDataBase& db)
{
    ProfileDefaultRows defaults;
    defaults.keyRows = [](int profile) {
        std::vector<std::pair<int, std::wstring>> keys;
        for (const int code : Codes()) keys.emplace_back(code, L"Key " + std::to_wstring(code));
        return DefaultKeyRows(profile, keys);
    };
    defaults.perfRows = [](int profile) { return DefaultKeyPerfRows(profile, Codes()); };
    defaults.storeOtherRows = [&db](int profile) {
        CreateDefaultLightRows(db, profile);
        db.InsertDefaultConfig(profile);
    };
    return defaults;
}

void Bind(KBDataBase& db, int profile, int layer, int code, int type, int value)
{
    KeyMacroRecord row;
    db.GetKeyMacro(profile, layer, code, row);
    row.macro_type = type;
    row.macro_value = value;
    db.UpdateKeyMacro(row);
}

class FullProfile {
public:
    FullProfile()
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tv-bench-profilefile-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_ / "db");
        KBDataBase& db = KBDataBase::GetInstance();
        db.Open(folder_.wstring() + L"/", L"BenchProfileFile");
        ProfileRecord record;
        record.type = 1;
        record.name = L"Full profile";
        profile = db.InsertProfile(record);
        const ProfileDefaultRows defaults = Defaults(db);
        db.InsertKeyMacros(defaults.keyRows(profile));
        db.InsertKeyPerfs(defaults.perfRows(profile));
        defaults.storeOtherRows(profile);
        int key = 0;
        for (int i = 0; i < kDksKeys + kOtherAdvancedKeys; ++i, ++key) {
            MagneticKeyRecord advanced;
            advanced.profile = profile;
            advanced.macro_type = i < kDksKeys ? KMT_DKS : KMT_MT + i % 2;
            advanced.key_value = kFirstCode + key;
            advanced.key1_value = 0x1408;
            advanced.key1_name = L"A+B";
            const int id = db.InsertMagneticKey(advanced);
            for (int n = 0; i < kDksKeys && n < 4; ++n) {
                KeyItemRecord item;
                item.macro_id = id;
                item.trigger_state1 = 0x1111;
                item.key_value = 4 + n;
                item.key_name = L"B";
                db.InsertKeyItem(item);
            }
            Bind(db, profile, i % 9, kFirstCode + key, advanced.macro_type, id);
        }
        for (int m = 0; m < kMacros; ++m, ++key) {
            const int id = db.InsertNewMacro(L"Macro " + std::to_wstring(m));
            std::vector<MacroStepRecord> steps(kSteps);
            for (int s = 0; s < kSteps; ++s) {
                steps[s].macro_id = id;
                steps[s].type = 2 + s % 2;
                steps[s].record_index = s;
                steps[s].value = 0x41;
                steps[s].delay_time = 10;
                steps[s].desc = L"A";
            }
            db.InsertMacroSteps(steps);
            Bind(db, profile, 0, kFirstCode + key, KMT_MACRO, id);
        }
        std::vector<UserLightRgbRecord> colors;
        for (const int code : Codes()) colors.push_back({0, profile, profile, code, 0x4080FF});
        db.InsertUserLightRgbs(colors);
        path = (folder_ / "profile.xml").wstring();
    }
    ~FullProfile()
    {
        KBDataBase::GetInstance().Close();
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }

    int profile = 0;
    std::wstring path;

private:
    std::filesystem::path folder_;
};

FullProfile& Profile()
{
    static FullProfile profile;
    return profile;
}

void ExportFullProfile(benchmark::State& state)
{
    FullProfile& p = Profile();
    KBDataBase& db = KBDataBase::GetInstance();
    for (auto _ : state) {
        if (!SaveProfileFile(p.path, CollectProfileRows(db, p.profile, L"Full profile"))) {
            state.SkipWithError("the file was not written");
            return;
        }
    }
    state.counters["bytes"] =
        static_cast<double>(std::filesystem::file_size(std::filesystem::path(p.path)));
}
BENCHMARK(ExportFullProfile)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kRuns)
    ->ReportAggregatesOnly(true);

void ImportFullProfile(benchmark::State& state)
{
    FullProfile& p = Profile();
    KBDataBase& db = KBDataBase::GetInstance();
    SaveProfileFile(p.path, CollectProfileRows(db, p.profile, L"Full profile"));
    for (auto _ : state) {
        const std::optional<ProfileFileContent> content = LoadProfileFile(p.path);
        const int id = content ? StoreProfileFile(db, *content, Defaults(db)) : 0;
        if (id <= 0) {
            state.SkipWithError("the file was not imported");
            return;
        }
        // Imported macros count against the keyboard's memory; the next run starts without.
        state.PauseTiming();
        std::vector<MacroRecord*> macros;
        db.GetMacros(macros);
        for (size_t i = kMacros; i < macros.size(); ++i) db.DeleteMacro(macros[i]->macro_id);
        for (MacroRecord* m : macros) delete m;
        state.ResumeTiming();
    }
}
BENCHMARK(ImportFullProfile)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kRuns)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
