#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/AppTestSupport.h"
#include "app/CommandLine.h"
#include "app/RegistrySettings.h"
#include "app/Startup.h"
#include "platform/mui/WindowMessages.h"
#include "platform/os/Autostart.h"
#include "platform/os/Registry.h"

namespace {

TEST(ShowMode, HiddenOnlyForAnAutostartWithStartHiddenOnAndATray)
{
    struct Case {
        const char* argument;
        bool entry;
        const wchar_t* minimize;  // nothing: value absent
        int mode;
        const char* tray = "1";
    };
    const Case cases[] = {
        {"-autorun", true, L"1", SW_HIDE},  {"--x-autorun-y", true, L"1", SW_SHOW},
        {"-autorun", true, L"0", SW_SHOW},  {"-autorun", true, nullptr, SW_SHOW},
        {"-autorun", false, L"1", SW_SHOW}, {"", true, L"1", SW_SHOW},
        {"-AUTORUN", true, L"1", SW_SHOW},  {"-autorun", true, L"1", SW_SHOW, "0"},
        {"autorun", true, L"1", SW_SHOW},   {"/tmp/autorun.txt", true, L"1", SW_SHOW},
    };
    for (const Case& c : cases) {
        setenv("TOLVENIC_TEST_SYSTEM_TRAY", c.tray, 1);
        const std::wstring name = apptest::FreshDeviceName();
        if (c.entry) {
            ASSERT_TRUE(os::WriteAutostart(name, L"/opt/tolvenic/Tolvenic -autorun"));
        }
        ASSERT_TRUE(os::RegCreateKey(DeviceRegistryKey()));
        if (c.minimize != nullptr) {
            SetRegString(L"autorun_minimize", c.minimize);
        }
        EXPECT_EQ(ChooseShowMode(ParseCommandLine({"--x", c.argument}).autorun), c.mode)
            << c.argument << " entry " << c.entry;
        os::DeleteAutostart(name);
    }
    setenv("TOLVENIC_TEST_SYSTEM_TRAY", "1", 1);
}

TEST(CommandLineTest, HelpAndVersionAreAskedForByTheirOwnNames)
{
    struct Case {
        std::vector<std::string> arguments;
        bool help;
        bool version;
    };
    const Case cases[] = {
        {{}, false, false},
        {{"--help"}, true, false},
        {{"-h"}, true, false},
        {{"--version"}, false, true},
        {{"-autorun", "--version"}, false, true},
        {{"--helpful", "-version", "help"}, false, false},
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.help, c.help) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.version, c.version) << ::testing::PrintToString(c.arguments);
    }
}

TEST(CommandLineTest, OnlyArgumentsNeitherOursNorTheToolkitsAreUnknown)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* unknown;
    };
    const Case cases[] = {
        {{"-autorun", "--help", "--version", "-h"}, ""},
        {{"-platform", "offscreen", "--style=fusion", "-reverse", "--display", ":1"}, ""},
        {{"--from-autorun-test", "/tmp/autorun-notes.txt"}, ""},
        {{"--bogus"}, "--bogus"},
        {{"-version", "--bogus"}, "-version"},
        {{"-autorun", "notes.txt"}, "notes.txt"},
        {{"-reverse=1"}, "-reverse=1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseCommandLine(c.arguments).unknown, c.unknown)
            << ::testing::PrintToString(c.arguments);
    }
}

}  // namespace
