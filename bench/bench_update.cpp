// Update transfers on loopback: the download throughput of UpdateDownloader from the tests'
// HTTPS server (goal: at least 50 MB/s), and UnzipAll against unzip(1) on the same 64 MB
// package in the same run (goal: at least 0.8x). Prints both figures at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "HttpsServer.h"
#include "ZipMaker.h"
#include "update/UpdateDownloader.h"
#include "update/ZipArchive.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int64_t kDownloadBytes = 256ll << 20;
constexpr size_t kFileBytes = 4u << 20;
constexpr int kFiles = 16;

updatetest::HttpsServer& Server()
{
    static updatetest::HttpsServer server;
    return server;
}

// Package contents like a program's: text-like data that packs to about a third.
const fs::path& Package()
{
    static const fs::path path = [] {
        const fs::path zip = Server().Root().parent_path() / "package.zip";
        std::mt19937 random(7);
        const char words[] = "keyboard layer profile macro lighting colour switch ";
        updatetest::ZipMaker maker(zip.string());
        for (int f = 0; f < kFiles; ++f) {
            std::string content;
            content.reserve(kFileBytes);
            while (content.size() < kFileBytes) {
                content += words[random() % (sizeof words - 1)];
                content += static_cast<char>('a' + random() % 26);
            }
            maker.Add({"files/part" + std::to_string(f) + ".bin", content});
        }
        return zip;
    }();
    return path;
}

double g_bestDownload = 0;
double g_bestOurs = 0;
double g_bestUnzip = 0;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void KeepBest(double& best, double seconds)
{
    best = best == 0 ? seconds : std::min(best, seconds);
}

void Download(benchmark::State& state)
{
    if (!Server().Started()) {
        state.SkipWithError("the local HTTPS server did not start");
        return;
    }
    updatetest::TrustTestCa trust(Server());
    const std::wstring url = Server().Url("zeros/" + std::to_string(kDownloadBytes));
    const fs::path file = Server().Root().parent_path() / "download.bin";
    for (auto _ : state) {
        UpdateDownloader downloader;
        const auto start = Clock::now();
        if (downloader.DownloadFile(url, file.wstring()) != UpdateDownloader::kComplete) {
            state.SkipWithError("download failed");
            return;
        }
        KeepBest(g_bestDownload, Seconds(start));
    }
    state.SetBytesProcessed(state.iterations() * kDownloadBytes);
}
BENCHMARK(Download)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void ExtractUnzipAll(benchmark::State& state)
{
    const fs::path target = Package().parent_path() / "ours";
    for (auto _ : state) {
        fs::remove_all(target);
        const auto start = Clock::now();
        if (!UnzipAll(Package().wstring(), target.wstring())) {
            state.SkipWithError("UnzipAll failed");
            return;
        }
        KeepBest(g_bestOurs, Seconds(start));
    }
    state.SetBytesProcessed(state.iterations() * kFiles * static_cast<int64_t>(kFileBytes));
}
BENCHMARK(ExtractUnzipAll)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void ExtractUnzipTool(benchmark::State& state)
{
    const fs::path target = Package().parent_path() / "unzip";
    const std::string command =
        "unzip -q -o '" + Package().string() + "' -d '" + target.string() + "'";
    for (auto _ : state) {
        fs::remove_all(target);
        const auto start = Clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("unzip failed (is it installed?)");
            return;
        }
        KeepBest(g_bestUnzip, Seconds(start));
    }
    state.SetBytesProcessed(state.iterations() * kFiles * static_cast<int64_t>(kFileBytes));
}
BENCHMARK(ExtractUnzipTool)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    setenv("TV_SOURCE_DIR", TV_SOURCE_DIR, 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double unpacked = static_cast<double>(kFiles) * kFileBytes / 1e6;
    if (g_bestDownload > 0) {
        std::printf("\ndownload on loopback: %.0f MB/s (best of 3, %lld MB)\n",
                    static_cast<double>(kDownloadBytes) / 1e6 / g_bestDownload,
                    static_cast<long long>(kDownloadBytes >> 20));
    }
    if (g_bestOurs > 0 && g_bestUnzip > 0) {
        std::printf("extraction of %.0f MB: UnzipAll %.0f MB/s, unzip %.0f MB/s, ratio %.2fx\n",
                    unpacked, unpacked / g_bestOurs, unpacked / g_bestUnzip,
                    g_bestUnzip / g_bestOurs);
    }
    return 0;
}
