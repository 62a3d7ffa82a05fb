// Writing, updating and reading one whole profile (8 layers x 128 key rows, 128 performance rows,
// 20 lighting modes) through KBDataBase, beside raw SQLite doing the same statements with one
// statement per kind, prepared once, in one transaction. Prints the ratios at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "storage/KBDataBase.h"

namespace {

constexpr int kProfile = 1;
constexpr int kLayers = 8;
constexpr int kKeys = 128;
constexpr int kLights = 20;

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("tv-bench-storage-" + std::to_string(getpid()));
        std::filesystem::create_directories(path / "db");
        return path;
    }();
    return folder;
}

std::wstring FolderText() { return Folder().wstring() + L"/"; }

struct Profile {
    std::vector<KeyMacroRecord> keys;
    std::vector<KeyPerfRecord> perfs;
    std::vector<LightRecord> lights;
};

// generation changes every value, so an update really rewrites each row.
Profile MakeProfile(int generation)
{
    Profile p;
    for (int layer = 0; layer < kLayers; ++layer) {
        for (int code = 0; code < kKeys; ++code) {
            KeyMacroRecord key;
            key.profile = kProfile;
            key.fn_layer = layer;
            key.key_code = code;
            key.macro_type = 2;
            key.macro_value = code + generation;
            key.macro_desc = L"Key " + std::to_wstring(code);
            p.keys.push_back(key);
        }
    }
    for (int code = 0; code < kKeys; ++code) {
        KeyPerfRecord perf;
        perf.profile = kProfile;
        perf.key_code = code;
        perf.switch_type = 3;
        perf.key_actuation = 75 + generation;
        perf.rt_press = 5;
        perf.rt_release = 5;
        p.perfs.push_back(perf);
    }
    for (int mode = 1; mode <= kLights; ++mode) {
        LightRecord light;
        light.profile = kProfile;
        light.name = L"Mode " + std::to_wstring(mode);
        light.mode = mode;
        light.brightness = 4 + generation;
        light.speed = 2;
        light.color_value = 0xFFFFFF;
        p.lights.push_back(light);
    }
    return p;
}

// A new, empty model file, opened by KBDataBase (which creates schema and default rows).
void FreshFile()
{
    KBDataBase& db = KBDataBase::GetInstance();
    db.Close();
    db.DeleteDbFile(FolderText(), L"BENCH");
    db.Open(FolderText(), L"BENCH");
}

void WriteThroughKBDataBase(const Profile& p, bool withLights = true)
{
    KBDataBase& db = KBDataBase::GetInstance();
    db.InsertKeyMacros(p.keys);
    db.InsertKeyPerfs(p.perfs);
    if (!withLights) {
        return;
    }
    db.InsertLights(p.lights);
}

void UpdateThroughKBDataBase(const Profile& p)
{
    KBDataBase& db = KBDataBase::GetInstance();
    db.UpdateKeyMacros(p.keys);
    db.UpdateKeyPerfs(p.perfs);
    for (LightRecord light : p.lights) {
        db.UpdateLight(light.mode, light);
    }
}

size_t ReadThroughKBDataBase()
{
    KBDataBase& db = KBDataBase::GetInstance();
    size_t rows = 0;
    std::vector<KeyMacroRecord*> keys;
    for (int layer = 0; layer < kLayers; ++layer) {
        rows += db.GetLayerKeyMacros(kProfile, layer, keys);
    }
    std::vector<KeyPerfRecord*> perfs;
    rows += db.GetKeyPerfs(kProfile, perfs);
    std::vector<LightRecord*> lights;
    rows += db.GetLights(kProfile, lights);
    for (auto* r : keys) delete r;
    for (auto* r : perfs) delete r;
    for (auto* r : lights) delete r;
    return rows;
}

// --- raw SQLite ------------------------------------------------------------------------------

class Raw {
public:
    Raw()
    {
        KBDataBase::GetInstance().Close();
        sqlite3_open_v2(KBDataBase::GetInstance().GetDbPath().c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
        sqlite3_exec(db_, "PRAGMA synchronous = OFF; ", nullptr, nullptr, nullptr);
    }
    ~Raw() { sqlite3_close(db_); }

    sqlite3_stmt* Prepare(const char* sql)
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
        return stmt;
    }
    void Exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* db_ = nullptr;
};

void Run(sqlite3_stmt* stmt)
{
    sqlite3_step(stmt);
    sqlite3_reset(stmt);
}

void BindText(sqlite3_stmt* stmt, int index, const std::wstring& text, std::string& keep)
{
    keep = KBDataBase::WideToUtf8(text);
    sqlite3_bind_text(stmt, index, keep.c_str(), static_cast<int>(keep.size()), SQLITE_STATIC);
}

void WriteRaw(Raw& raw, const Profile& p, bool withLights = true)
{
    raw.Exec("BEGIN");
    sqlite3_stmt* key = raw.Prepare(
        "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, macro_type, macro_value, "
        "macro_value2, macro_value3, macro_desc) VALUES (?, ?, ?, ?, ?, ?, ?, ?);");
    std::string text;
    for (const KeyMacroRecord& r : p.keys) {
        const int v[] = {r.profile,     r.fn_layer,     r.key_code,    r.macro_type,
                         r.macro_value, r.macro_value2, r.macro_value3};
        for (int i = 0; i < 7; ++i) sqlite3_bind_int(key, i + 1, v[i]);
        BindText(key, 8, r.macro_desc, text);
        Run(key);
    }
    sqlite3_finalize(key);
    sqlite3_stmt* perf = raw.Prepare(
        "INSERT INTO t_key_perf_data(profile, key_code, switch_type, key_mode, key_actuation, "
        "rt_press, rt_release, deadzone_state, press_deadzone, release_deadzone) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    for (const KeyPerfRecord& r : p.perfs) {
        const int v[] = {r.profile,        r.key_code,        r.switch_type, r.key_mode,
                         r.key_actuation,  r.rt_press,        r.rt_release,  r.deadzone_state,
                         r.press_deadzone, r.release_deadzone};
        for (int i = 0; i < 10; ++i) sqlite3_bind_int(perf, i + 1, v[i]);
        Run(perf);
    }
    sqlite3_finalize(perf);
    if (!withLights) {
        raw.Exec("END");
        return;
    }
    sqlite3_stmt* light = raw.Prepare(
        "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
        "colorindex, color_value, config_func, reserved, status) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    for (const LightRecord& r : p.lights) {
        sqlite3_bind_int(light, 1, r.profile);
        BindText(light, 2, r.name, text);
        const int v[] = {r.mode,       r.brightness,  r.speed,       r.direction, r.colorful,
                         r.colorindex, r.color_value, r.config_func, r.reserved,  r.status};
        for (int i = 0; i < 10; ++i) sqlite3_bind_int(light, i + 3, v[i]);
        Run(light);
    }
    sqlite3_finalize(light);
    raw.Exec("END");
}

void UpdateRaw(Raw& raw, const Profile& p)
{
    raw.Exec("BEGIN");
    sqlite3_stmt* key = raw.Prepare(
        "UPDATE t_key_macro_data SET macro_type = ?, macro_value = ?, macro_value2 = ?, "
        "macro_value3 = ?, macro_desc = ? WHERE profile = ? AND fn_layer = ? AND key_code = ?;");
    std::string text;
    for (const KeyMacroRecord& r : p.keys) {
        sqlite3_bind_int(key, 1, r.macro_type);
        sqlite3_bind_int(key, 2, r.macro_value);
        sqlite3_bind_int(key, 3, r.macro_value2);
        sqlite3_bind_int(key, 4, r.macro_value3);
        BindText(key, 5, r.macro_desc, text);
        sqlite3_bind_int(key, 6, r.profile);
        sqlite3_bind_int(key, 7, r.fn_layer);
        sqlite3_bind_int(key, 8, r.key_code);
        Run(key);
    }
    sqlite3_finalize(key);
    sqlite3_stmt* perf = raw.Prepare(
        "UPDATE t_key_perf_data SET switch_type = ?, key_mode = ?, key_actuation = ?, "
        "rt_press = ?, rt_release = ?, deadzone_state = ?, press_deadzone = ?, "
        "release_deadzone = ? WHERE profile = ? AND key_code = ?;");
    for (const KeyPerfRecord& r : p.perfs) {
        const int v[] = {r.switch_type, r.key_mode,       r.key_actuation,  r.rt_press,
                         r.rt_release,  r.deadzone_state, r.press_deadzone, r.release_deadzone,
                         r.profile,     r.key_code};
        for (int i = 0; i < 10; ++i) sqlite3_bind_int(perf, i + 1, v[i]);
        Run(perf);
    }
    sqlite3_finalize(perf);
    sqlite3_stmt* light = raw.Prepare(
        "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
        "colorindex = ?, color_value = ?, config_func = ?, reserved = ?, status = ? "
        "WHERE profile = ? AND mode = ?");
    for (const LightRecord& r : p.lights) {
        const int v[] = {r.brightness, r.speed,       r.direction,   r.colorful,
                         r.colorindex, r.color_value, r.config_func, r.reserved,
                         r.status,     r.profile,     r.mode};
        for (int i = 0; i < 11; ++i) sqlite3_bind_int(light, i + 1, v[i]);
        Run(light);
    }
    sqlite3_finalize(light);
    raw.Exec("END");
}

// Reads every column of the same rows; texts are converted to wide text as the records hold.
size_t ReadRaw(Raw& raw)
{
    size_t rows = 0;
    std::wstring sink;
    auto readAll = [&](sqlite3_stmt* stmt, int columns) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_TEXT) {
                    sink = KBDataBase::Utf8ToWide(
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)));
                } else {
                    benchmark::DoNotOptimize(sqlite3_column_int(stmt, c));
                }
            }
            ++rows;
        }
        sqlite3_reset(stmt);
    };
    sqlite3_stmt* key =
        raw.Prepare("SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
    for (int layer = 0; layer < kLayers; ++layer) {
        sqlite3_bind_int(key, 1, kProfile);
        sqlite3_bind_int(key, 2, layer);
        readAll(key, 9);
    }
    sqlite3_finalize(key);
    sqlite3_stmt* perf = raw.Prepare("SELECT * FROM t_key_perf_data WHERE profile = ?");
    sqlite3_bind_int(perf, 1, kProfile);
    readAll(perf, 11);
    sqlite3_finalize(perf);
    sqlite3_stmt* light = raw.Prepare("SELECT * FROM t_light_data WHERE profile = ?");
    sqlite3_bind_int(light, 1, kProfile);
    readAll(light, 13);
    sqlite3_finalize(light);
    return rows;
}

// --- benchmarks ------------------------------------------------------------------------------

// state.range(0): 1 writes the lighting modes too, 0 only the key and performance tables.
void BM_Insert_KBDataBase(benchmark::State& state)
{
    const Profile p = MakeProfile(0);
    for (auto _ : state) {
        state.PauseTiming();
        FreshFile();
        state.ResumeTiming();
        WriteThroughKBDataBase(p, state.range(0) != 0);
    }
}

void BM_Insert_RawSQLite(benchmark::State& state)
{
    const Profile p = MakeProfile(0);
    for (auto _ : state) {
        state.PauseTiming();
        FreshFile();
        {
            Raw raw;
            state.ResumeTiming();
            WriteRaw(raw, p, state.range(0) != 0);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void BM_Update_KBDataBase(benchmark::State& state)
{
    FreshFile();
    WriteThroughKBDataBase(MakeProfile(0));
    const Profile changes[] = {MakeProfile(1), MakeProfile(2)};
    int i = 0;
    for (auto _ : state) {
        UpdateThroughKBDataBase(changes[i++ % 2]);
    }
}

void BM_Update_RawSQLite(benchmark::State& state)
{
    FreshFile();
    WriteThroughKBDataBase(MakeProfile(0));
    Raw raw;
    const Profile changes[] = {MakeProfile(1), MakeProfile(2)};
    int i = 0;
    for (auto _ : state) {
        UpdateRaw(raw, changes[i++ % 2]);
    }
}

void BM_Read_KBDataBase(benchmark::State& state)
{
    FreshFile();
    WriteThroughKBDataBase(MakeProfile(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadThroughKBDataBase());
    }
}

void BM_Read_RawSQLite(benchmark::State& state)
{
    FreshFile();
    WriteThroughKBDataBase(MakeProfile(0));
    Raw raw;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadRaw(raw));
    }
}

BENCHMARK(BM_Insert_KBDataBase)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Insert_RawSQLite)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Update_KBDataBase)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Update_RawSQLite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read_KBDataBase)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read_RawSQLite)->Unit(benchmark::kMicrosecond);

// Console output plus a note of each benchmark's time per iteration, for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            micros_[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    void PrintRatios() const
    {
        std::printf("\nwhole profile, microseconds: KBDataBase / raw SQLite = ratio\n");
        const std::pair<const char*, const char*> phases[] = {
            {"Insert", "Insert/1"},
            {"Insert (key and performance tables only)", "Insert/0"},
            {"Update", "Update"},
            {"Read", "Read"},
        };
        for (const auto& [title, name] : phases) {
            std::string ours = std::string("BM_") + name;
            std::string raw = ours;
            const size_t slash = ours.find('/');
            ours.insert(slash == std::string::npos ? ours.size() : slash, "_KBDataBase");
            raw.insert(slash == std::string::npos ? raw.size() : slash, "_RawSQLite");
            const auto a = micros_.find(ours);
            const auto b = micros_.find(raw);
            if (a != micros_.end() && b != micros_.end() && b->second > 0) {
                std::printf("  %-42s %10.1f / %10.1f = %.2fx\n", title, a->second, b->second,
                            a->second / b->second);
            }
        }
    }

private:
    std::map<std::string, double> micros_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    KBDataBase::GetInstance().Close();
    std::error_code error;
    std::filesystem::remove_all(Folder(), error);
    benchmark::Shutdown();
    return 0;
}
