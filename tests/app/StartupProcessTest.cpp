#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <utility>

#include "app/AppTestSupport.h"
#include "app/ChildProgram.h"
#include "platform/os/Autostart.h"
#include "platform/os/Registry.h"
#include "platform/os/SingleInstance.h"
#include "platform/os/XdgPaths.h"
#include "platform/text/Utf8.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Generous: a sanitized Qt program may start slowly on a loaded machine.
constexpr auto kStartTimeout = 60s;

class StartupProcessTest : public ::testing::Test {
protected:
    // A program folder of its own: the program beside a config.xml naming `device`.
    void MakeProgramFolder(const std::string& config)
    {
        static int counter = 0;
        folder_ = apptest::FreshFolder("program" + std::to_string(++counter));
        program_ = (folder_ / "Tolvenic").string();
        std::error_code ec;
        fs::create_hard_link(TV_PROGRAM_PATH, program_, ec);
        if (ec) {
            fs::copy_file(TV_PROGRAM_PATH, program_);
        }
        if (!config.empty()) {
            apptest::WriteText(folder_ / "config.xml", config);
        }
    }

    static std::string ConfigNaming(const std::string& device)
    {
        return "<config><language.info default_lan=\"1033\"><lan value=\"1033\"/>"
               "</language.info><software name=\"" +
               device + "\" version=\"1.0\"/></config>";
    }

    std::unique_ptr<apptest::ChildProgram> Start(std::vector<std::string> args = {})
    {
        return std::make_unique<apptest::ChildProgram>(
            program_, args,
            std::vector<std::string>{"TV_STARTUP_REPORT=1", "ASAN_OPTIONS=detect_leaks=0",
                                     "QT_QPA_PLATFORM=offscreen"});
    }

    static fs::path DataFolder(const std::string& device)
    {
        return fs::path(os::DataHome()) / (device + " Files");
    }

    fs::path folder_;
    std::string program_;
};

TEST_F(StartupProcessTest, SecondStartRaisesTheHiddenFirstAndEndsWithZero)
{
    const std::string device = "StartHidden";
    MakeProgramFolder(ConfigNaming(device));
    const std::wstring wide = text::Utf8ToWide(device);
    ASSERT_TRUE(os::WriteAutostart(wide, text::Utf8ToWide(program_) + L" -autorun"));
    ASSERT_TRUE(os::RegCreateKey(L"SOFTWARE\\" + wide));
    ASSERT_TRUE(os::RegWriteString(L"SOFTWARE\\" + wide, L"autorun_minimize", L"1"));

    auto first = Start({"-autorun"});
    ASSERT_TRUE(first->Started());
    ASSERT_TRUE(first->WaitForLine("listening", kStartTimeout));
    EXPECT_FALSE(first->WaitForLine("shown", 1500ms)) << "an autorun start stays hidden";

    auto second = Start();
    EXPECT_EQ(second->WaitForExit(kStartTimeout), 0);
    EXPECT_FALSE(second->WaitForLine("listening", 0ms)) << "the second one never started up";
    EXPECT_TRUE(first->WaitForLine("shown", kStartTimeout)) << "the first one is raised";

    ASSERT_TRUE(os::SendInstanceCommand(wide, "exit 610"));
    EXPECT_EQ(first->WaitForExit(kStartTimeout), 0);
    os::DeleteAutostart(wide);
}

TEST_F(StartupProcessTest, NormalStartEmptiesEditKeepsDbAndEndsOnExit610Only)
{
    const std::string device = "StartShown";
    MakeProgramFolder(ConfigNaming(device));
    const fs::path data = DataFolder(device);
    apptest::WriteText(data / "edit/left-over.txt", "old");
    apptest::WriteText(data / "edit/sub/deep.txt", "old");
    apptest::WriteText(data / "db/qx71_max_datav4.db", "keep");
    ASSERT_TRUE(os::RegCreateKey(text::Utf8ToWide("SOFTWARE\\" + device)));
    ASSERT_TRUE(
        os::RegWriteString(text::Utf8ToWide("SOFTWARE\\" + device), L"autorun_minimize", L"1"));

    // "autorun" on the command line but no autostart entry: shown normally.
    auto first = Start({"--from-autorun-test"});
    ASSERT_TRUE(first->WaitForLine("shown", kStartTimeout));
    EXPECT_TRUE(fs::is_directory(data / "edit"));
    EXPECT_TRUE(fs::is_empty(data / "edit"));
    EXPECT_TRUE(fs::exists(data / "db/qx71_max_datav4.db"));

    const std::wstring wide = text::Utf8ToWide(device);
    ASSERT_TRUE(os::SendInstanceCommand(wide, "exit 611"));
    EXPECT_FALSE(first->WaitForExit(700ms)) << "another code does nothing";
    ASSERT_TRUE(os::SendInstanceCommand(wide, "exit 610"));
    EXPECT_EQ(first->WaitForExit(kStartTimeout), 0);
}

TEST_F(StartupProcessTest, HelpAndVersionPrintWithoutAWindowAndOnlyTheAutostartArgumentHides)
{
    const std::string device = "StartInfo";
    MakeProgramFolder(ConfigNaming(device));
    const std::pair<const char*, const char*> asked[] = {{"--help", "Usage: Tolvenic"},
                                                         {"--version", "Tolvenic 1.0"}};
    for (const auto& [argument, first] : asked) {
        auto child = Start({argument});
        EXPECT_TRUE(child->WaitForLine(first, kStartTimeout)) << argument;
        EXPECT_EQ(child->WaitForExit(kStartTimeout), 0) << argument;
        EXPECT_FALSE(child->WaitForLine("listening", 0ms)) << argument << " opens no window";
    }

    // Autostart and start hidden on, but an argument that only holds the word: shown.
    const std::wstring wide = text::Utf8ToWide(device);
    ASSERT_TRUE(os::WriteAutostart(wide, text::Utf8ToWide(program_) + L" -autorun"));
    ASSERT_TRUE(os::RegCreateKey(L"SOFTWARE\\" + wide));
    ASSERT_TRUE(os::RegWriteString(L"SOFTWARE\\" + wide, L"autorun_minimize", L"1"));
    auto shown = Start({"/tmp/autorun-notes.txt"});
    EXPECT_TRUE(shown->WaitForLine("shown", kStartTimeout));
    ASSERT_TRUE(os::SendInstanceCommand(wide, "exit 610"));
    EXPECT_EQ(shown->WaitForExit(kStartTimeout), 0);
    os::DeleteAutostart(wide);
}

// The width and height of a PNG file; nothing when it is no PNG.
std::optional<std::pair<int, int>> PngSize(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    unsigned char head[24] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head) || head[1] != 'P' || head[2] != 'N' ||
        head[3] != 'G') {
        return std::nullopt;
    }
    const auto big = [&](int at) {
        return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3];
    };
    return std::pair{big(16), big(20)};
}

std::string FileText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The program installed as a user installs it (cmake --install into a prefix): the desktop
// finds its entry in both languages, its icon in the theme's sizes and its AppStream data, and
// the autostart entry that its settings page writes starts the installed program.
TEST_F(StartupProcessTest, InstalledProgramHasItsDesktopFilesAndItsAutostartRunsIt)
{
    const fs::path root = apptest::FreshFolder("installed");
    const fs::path prefix = root / "prefix";
    const std::string install = "cmake --install \"" + std::string(TV_BUILD_DIR) +
                                "\" --prefix \"" + prefix.string() + "\" > \"" +
                                (root / "install.log").string() + "\" 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << install;
    const fs::path installed = prefix / "bin" / "Tolvenic";
    ASSERT_TRUE(fs::exists(installed));
    const fs::path share = prefix / "share";
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string theme = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(PngSize(share / "icons/hicolor" / theme / "apps/tolvenic.png"),
                  std::pair(size, size))
            << theme;
    }
    const std::string desktop = FileText(share / "applications/tolvenic.desktop");
    EXPECT_NE(desktop.find("\nName[zh_CN]="), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nIcon=tolvenic\n"), std::string::npos) << desktop;
    const std::string metainfo = FileText(share / "metainfo/tolvenic.metainfo.xml");
    EXPECT_NE(metainfo.find("<launchable type=\"desktop-id\">tolvenic.desktop</launchable>"),
              std::string::npos)
        << metainfo;
    EXPECT_NE(metainfo.find("<binary>Tolvenic</binary>"), std::string::npos) << metainfo;
    const fs::path config = root / "config";
    auto child = std::make_unique<apptest::ChildProgram>(
        installed.string(), std::vector<std::string>{},
        std::vector<std::string>{"TV_STARTUP_REPORT=1", "TV_TEST_ENTRY=1",
                                 "ASAN_OPTIONS=detect_leaks=0", "QT_QPA_PLATFORM=offscreen",
                                 "XDG_CONFIG_HOME=" + config.string()});
    ASSERT_TRUE(child->WaitForLine("listening", kStartTimeout));
    ASSERT_TRUE(os::SendInstanceCommand(L"Tolvenic", "click main 364"));  // start with the system

    const fs::path entry = config / "autostart" / "Tolvenic.desktop";
    const auto end = std::chrono::steady_clock::now() + kStartTimeout;
    while (!fs::exists(entry) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    std::ifstream file(entry);
    std::string exec;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with("Exec=")) exec = line.substr(5);
    }
    const std::string program = exec.substr(0, exec.find(' '));
    EXPECT_EQ(exec.substr(program.size()), " -autorun");
    ASSERT_TRUE(fs::exists(program)) << exec;
    EXPECT_TRUE(fs::is_regular_file(program)) << exec;
    EXPECT_NE(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::none) << exec;
    EXPECT_TRUE(fs::equivalent(program, installed)) << exec;
    // It is the program: it says its version.
    apptest::ChildProgram version(program, {"--version"}, {"ASAN_OPTIONS=detect_leaks=0"});
    EXPECT_TRUE(version.WaitForLine("Tolvenic 1.0", kStartTimeout));
    EXPECT_EQ(version.WaitForExit(kStartTimeout), 0);

    ASSERT_TRUE(os::SendInstanceCommand(L"Tolvenic", "exit 610"));
    EXPECT_EQ(child->WaitForExit(kStartTimeout), 0);
}

TEST_F(StartupProcessTest, MissingOrBrokenConfigurationStillStarts)
{
    const std::pair<const char*, std::string> cases[] = {
        {"no config.xml", ""},
        {"malformed config.xml", "<config><software name=\"Half\">"},
    };
    for (const auto& [what, config] : cases) {
        SCOPED_TRACE(what);
        MakeProgramFolder(config);
        // No language folder either: texts are empty, start-up goes on.
        auto child = Start();
        ASSERT_TRUE(child->WaitForLine("shown", kStartTimeout));
        // No language listed: 1033 is stored under the built-in device name, which also names
        // the data folder and the instance.
        EXPECT_EQ(os::RegReadString(L"SOFTWARE\\Tolvenic", L"LCID"), L"1033");
        EXPECT_TRUE(fs::is_directory(DataFolder("Tolvenic") / "edit"));
        EXPECT_EQ(Start()->WaitForExit(kStartTimeout), 0) << "a second one only shows the first";
        ASSERT_TRUE(os::SendInstanceCommand(L"Tolvenic", "exit 610"));
        EXPECT_EQ(child->WaitForExit(kStartTimeout), 0);
    }
}

}  // namespace
