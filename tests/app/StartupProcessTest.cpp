#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

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
