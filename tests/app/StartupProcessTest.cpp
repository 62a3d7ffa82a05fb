#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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
        return std::make_unique<apptest::ChildProgram>(program_, args, BaseEnvironment());
    }

    static std::vector<std::string> BaseEnvironment()
    {
        return {"TV_STARTUP_REPORT=1", "ASAN_OPTIONS=detect_leaks=0", "QT_QPA_PLATFORM=offscreen"};
    }

    // Started with the environment changed as given, reading its standard error too, every
    // message box answered with its first button.
    std::unique_ptr<apptest::ChildProgram> StartWith(const std::vector<std::string>& changes)
    {
        std::vector<std::string> environment = BaseEnvironment();
        environment.push_back("TOLVENIC_TEST_MESSAGE_ANSWER=1");
        environment.insert(environment.end(), changes.begin(), changes.end());
        return std::make_unique<apptest::ChildProgram>(program_, std::vector<std::string>{},
                                                       environment,
                                                       apptest::ChildProgram::Output::kWithErrors);
    }

    static unsigned ModeOf(const fs::path& path)
    {
        struct stat st {};
        return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
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
    fs::permissions(data, fs::perms::all);  // left open to all by an earlier run
    auto first = Start({"--from-autorun-test"});
    ASSERT_TRUE(first->WaitForLine("shown", kStartTimeout));
    EXPECT_TRUE(fs::is_directory(data / "edit"));
    EXPECT_TRUE(fs::is_empty(data / "edit"));
    EXPECT_TRUE(fs::exists(data / "db/qx71_max_datav4.db"));
    for (const fs::path& folder : {data, data / "db", data / "edit"}) {
        EXPECT_EQ(ModeOf(folder), 0700u) << folder << " is the user's alone";
    }

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
    auto refused = std::make_unique<apptest::ChildProgram>(
        program_, std::vector<std::string>{"--bogus"}, BaseEnvironment(),
        apptest::ChildProgram::Output::kWithErrors);
    EXPECT_TRUE(refused->WaitForLine("Usage: Tolvenic", kStartTimeout));
    EXPECT_EQ(refused->WaitForExit(kStartTimeout), 2);
    EXPECT_FALSE(refused->WaitForLine("listening", 0ms)) << "an unknown option opens no window";

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
    // The class of the program's windows (set by the program, not taken from its file name).
    EXPECT_NE(desktop.find("\nStartupWMClass=Tolvenic\n"), std::string::npos) << desktop;
    const std::string metainfo = FileText(share / "metainfo/tolvenic.metainfo.xml");
    EXPECT_NE(metainfo.find("<launchable type=\"desktop-id\">tolvenic.desktop</launchable>"),
              std::string::npos)
        << metainfo;
    EXPECT_NE(metainfo.find("<binary>Tolvenic</binary>"), std::string::npos) << metainfo;
    // Software centres take only metadata that validates.
    if (std::system("appstreamcli --version > /dev/null 2>&1") == 0) {
        const std::string validate = "appstreamcli validate --no-net --explain \"" +
                                     (share / "metainfo/tolvenic.metainfo.xml").string() +
                                     "\" > \"" + (root / "validate.log").string() + "\" 2>&1";
        EXPECT_EQ(std::system(validate.c_str()), 0) << FileText(root / "validate.log");
    }
    // The rule the window names when the keyboard may not be opened lies with the program's files.
    EXPECT_EQ(FileText(share / "tolvenic/udev/70-tolvenic.rules"),
              FileText(fs::path(TV_SOURCE_DIR) / "data/udev/70-tolvenic.rules"));
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
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
    };
    const Case cases[] = {
        {"no config.xml", [](const fs::path&) {}},
        {"malformed config.xml",
         [](const fs::path& file) {
             apptest::WriteText(file, "<config><software name=\"Half\">");
         }},
        // Opened without waiting for a writer, and refused as no file.
        {"a pipe as config.xml",
         [](const fs::path& file) { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeProgramFolder("");
        c.make(folder_ / "config.xml");
        // No language folder either: the built-in English texts stand in, and the user is told.
        auto child = StartWith({});
        const auto told = child->WaitForLine(folder_.string() +
                                                 "/language/1033.lan is missing: "
                                                 "using the built-in English texts",
                                             kStartTimeout);
        EXPECT_TRUE(told);
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

// A language file far too long for one (30 MB) is not read at all: the window comes up at once
// in the built-in English texts, and the user is told why.
TEST_F(StartupProcessTest, OverlongLanguageFileGivesWayToTheBuiltInEnglishTexts)
{
    MakeProgramFolder(ConfigNaming("LongTexts"));
    ASSERT_TRUE(os::RegCreateKey(L"SOFTWARE\\LongTexts"));
    ASSERT_TRUE(os::RegWriteString(L"SOFTWARE\\LongTexts", L"LCID", L"1033"));
    const fs::path file = folder_ / "language/1033.lan";
    apptest::WriteText(file, "[CAPTION]\n1=Long\n[KB.DIALOG]\n20=OK\n");
    fs::resize_file(file, 30u << 20);
    auto child = StartWith({});
    EXPECT_TRUE(child->WaitForLine(file.string() + " is longer than 1 MiB: using the built-in "
                                                   "English texts",
                                   kStartTimeout));
    EXPECT_TRUE(child->WaitForLine("shown", kStartTimeout));
    ASSERT_TRUE(os::SendInstanceCommand(L"LongTexts", "exit 610"));
    EXPECT_EQ(child->WaitForExit(kStartTimeout), 0);
}

// Without XDG_RUNTIME_DIR the stand-in under TMPDIR is used only when it is this user's alone;
// without HOME (and the XDG folders) nothing falls back to a shared folder. Each refusal ends
// the start with the reason on standard error and in a message box.
TEST_F(StartupProcessTest, UnsafeStandInFoldersAreRefusedWithTheReason)
{
    MakeProgramFolder(ConfigNaming("Refused"));
    const fs::path temp = apptest::FreshFolder("temp");
    const fs::path standIn = temp / ("tolvenic-runtime-" + std::to_string(getuid()));
    const fs::path mine = apptest::FreshFolder("mine");
    fs::permissions(mine, fs::perms::owner_all);
    const std::vector<std::string> noRuntime{"XDG_RUNTIME_DIR", "TMPDIR=" + temp.string()};
    std::vector<std::string> noHome = noRuntime;
    noHome.insert(noHome.end(), {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"});
    fs::create_directories(standIn);  // made again by each case below
    struct Case {
        const char* what;
        std::function<bool()> prepare;
        std::vector<std::string> environment;
        std::string reason;
    };
    const Case cases[] = {
        {"another user's", [&] { return chown(standIn.c_str(), 65534, 65534) == 0; }, noRuntime,
         standIn.string() + " belongs to another user (uid 65534)"},
        {"open to others", [&] { return chmod(standIn.c_str(), 0777) == 0; }, noRuntime,
         standIn.string() + " may be used by other users (mode 0777, not 0700)"},
        {"a link to a folder of mine",
         [&] {
             fs::remove(standIn);
             return symlink(mine.c_str(), standIn.c_str()) == 0;
         },
         noRuntime, standIn.string() + " is not a folder"},
        {"no home", [] { return true; }, noHome, "HOME is not set"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(standIn);
        fs::create_directory(standIn);
        fs::permissions(standIn, fs::perms::owner_all);
        if (!c.prepare()) {
            ADD_FAILURE() << "cannot prepare the case (the tests run as root)";
            continue;
        }
        auto child = StartWith(c.environment);
        const auto message = child->WaitForLine("message box caption=\"Refused\"", kStartTimeout);
        ASSERT_TRUE(message) << "the user is told";
        EXPECT_NE(message->find(c.reason), std::string::npos) << *message;
        EXPECT_NE(message->find("does not start"), std::string::npos) << *message;
        EXPECT_EQ(child->WaitForExit(kStartTimeout), 1);
        EXPECT_FALSE(child->WaitForLine("listening", 0ms));
        EXPECT_FALSE(fs::exists(mine / "Refused.lock"));
    }
    EXPECT_FALSE(fs::exists("/tmp/.config/Refused")) << "no settings in a shared folder";
    EXPECT_FALSE(fs::exists("/tmp/.local/share/Refused Files"));
    fs::remove_all(standIn);
}

// A stand-in the program makes itself is used, and the user is told so.
TEST_F(StartupProcessTest, MissingRuntimeFolderIsStoodInForByAPrivateOne)
{
    MakeProgramFolder(ConfigNaming("StoodIn"));
    const fs::path temp = apptest::FreshFolder("temp-made");
    const fs::path standIn = temp / ("tolvenic-runtime-" + std::to_string(getuid()));
    auto child = StartWith({"XDG_RUNTIME_DIR", "TMPDIR=" + temp.string()});
    const auto notice = child->WaitForLine("XDG_RUNTIME_DIR is not set: using ", kStartTimeout);
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->find(standIn.string()), std::string::npos) << *notice;
    ASSERT_TRUE(child->WaitForLine("listening", kStartTimeout));
    EXPECT_EQ(ModeOf(standIn), 0700u);
    EXPECT_TRUE(fs::exists(standIn / "StoodIn.lock"));
    EXPECT_TRUE(fs::exists(standIn / "StoodIn.sock"));
}

}  // namespace
