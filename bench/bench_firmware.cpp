// Firmware upgrade speed on the virtual keyboard, which adds no latency of its own: the boot
// loader's chunk rate through HidUpgrader (goal: at least 2,000 chunks a second), in-process and
// over the virtual-keyboard program's socket, and a 64 KB image end to end - the keyboard
// switched into its boot loader, the package downloaded from the local HTTPS server, its digest
// checked, unpacked and flashed (goal: under 15 s). Prints the figures at the end.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "FirmwareImages.h"
#include "HttpsServer.h"
#include "VirtualHidBackend.h"
#include "VirtualKeyboard.h"
#include "ZipMaker.h"
#include "app/ChildProgram.h"
#include "device/DeviceManager.h"
#include "platform/os/FileSha256.h"
#include "update/HidUpgrader.h"
#include "update/PackageDigest.h"
#include "update/UpdateDownloader.h"
#include "update/ZipArchive.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr size_t kImageBytes = 64 * 1024;
// Program and verify: two exchanges a chunk.
constexpr double kChunks = 2.0 * kImageBytes / kBootChunkMax;

double g_inProcess = 0;
double g_socket = 0;
double g_endToEnd = 0;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// One whole flash of the image into the boot loader the backend shows; the seconds it took.
double FlashOnce(benchmark::State& state, const std::wstring& image)
{
    const auto start = Clock::now();
    if (!HidUpgrader::GetInstance().Run(0x3B6D, 0xAF3E, image, {})) {
        state.SkipWithError("the flash failed");
    }
    return Seconds(start);
}

void FlashInProcess(benchmark::State& state)
{
    vkb::VirtualHidBackend backend;
    hid::SetBackend(&backend);
    vkb::KeyboardOptions options;
    options.startInBootLoader = true;
    updatetest::ImageFile file("tv-bench-image");
    const std::wstring image = file.Write(updatetest::Pattern(kImageBytes));
    for (auto _ : state) {
        auto keyboard = std::make_shared<vkb::VirtualKeyboard>(options);
        backend.Plug(keyboard);
        const double seconds = FlashOnce(state, image);
        state.SetIterationTime(seconds);
        g_inProcess = std::max(g_inProcess, kChunks / seconds);
        backend.Unplug(keyboard);
    }
    hid::SetBackend(nullptr);
}
BENCHMARK(FlashInProcess)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

void FlashOverSocket(benchmark::State& state)
{
    char folder[] = "/tmp/tvbf.XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        state.SkipWithError("no folder");
        return;
    }
    updatetest::ImageFile file("tv-bench-image");
    const std::wstring image = file.Write(updatetest::Pattern(kImageBytes));
    std::unique_ptr<hid::HidBackend> backend = hid::MakeSocketBackend(folder);
    hid::SetBackend(backend.get());
    for (auto _ : state) {
        apptest::ChildProgram keyboard(TV_VIRTUAL_KEYBOARD_PATH, {"--dir", folder, "--boot"}, {});
        if (!keyboard.WaitForLine("ready", std::chrono::seconds(30))) {
            state.SkipWithError("the virtual keyboard did not start");
            break;
        }
        const double seconds = FlashOnce(state, image);
        state.SetIterationTime(seconds);
        g_socket = std::max(g_socket, kChunks / seconds);
        kill(keyboard.Pid(), SIGTERM);
        keyboard.WaitForExit(std::chrono::seconds(30));
    }
    hid::SetBackend(nullptr);
    fs::remove_all(folder);
}
BENCHMARK(FlashOverSocket)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

void PackageEndToEnd(benchmark::State& state)
{
    updatetest::HttpsServer server;
    updatetest::TrustTestCa trust(server);
    const fs::path zip = server.Root() / "firmware-106.zip";
    {
        updatetest::ZipMaker maker(zip.string());
        const updatetest::Bytes image = updatetest::Pattern(kImageBytes);
        maker.Add({"firmware-106.bin", std::string(image.begin(), image.end())});
    }
    server.Put("firmware-106.zip.sha256", *os::FileSha256(zip.wstring()));
    const fs::path target = server.Root().parent_path() / "unpacked";
    vkb::VirtualHidBackend backend;
    hid::SetBackend(&backend);
    for (auto _ : state) {
        auto keyboard = std::make_shared<vkb::VirtualKeyboard>();
        backend.Plug(keyboard);
        fs::remove_all(target);
        fs::create_directories(target);
        const auto start = Clock::now();
        const std::wstring url = server.Url("files/firmware-106.zip");
        const std::wstring package = (target / "firmware-106.zip").wstring();
        UpdateDownloader downloader;
        SendEnterBootloader(0x3B6D, 0x9053);
        const bool ready = downloader.DownloadFile(url, package) == UpdateDownloader::kComplete &&
                           PackageMatchesDigest(url, package) &&
                           UnzipAll(package, target.wstring());
        if (!ready || !HidUpgrader::GetInstance().Run(
                          0x3B6D, 0xAF3E, (target / "firmware-106.bin").wstring(), {})) {
            state.SkipWithError("the upgrade failed");
        }
        const double seconds = Seconds(start);
        state.SetIterationTime(seconds);
        g_endToEnd = g_endToEnd == 0 ? seconds : std::min(g_endToEnd, seconds);
        backend.Unplug(keyboard);
    }
    hid::SetBackend(nullptr);
}
BENCHMARK(PackageEndToEnd)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

}  // namespace

int main(int argc, char** argv)
{
    setenv("TV_SOURCE_DIR", TV_SOURCE_DIR, 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf(
        "\nboot loader chunks a second (best, program and verify of %zu KB): in-process "
        "%.0f, over the socket %.0f\n",
        kImageBytes / 1024, g_inProcess, g_socket);
    std::printf("64 KB package end to end (enter boot, download, digest, unzip, flash): %.2f s\n",
                g_endToEnd);
    return 0;
}
