#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/os/AtomicFile.h"
#include "platform/os/Autostart.h"
#include "platform/os/XdgPaths.h"

namespace fs = std::filesystem;

namespace {

std::string EntryPath(const std::wstring& name)
{
    return os::ConfigHome() + "/autostart/" + os::SafeFileName(name) + ".desktop";
}

TEST(Autostart, EntryRunsTheCommandAndReadsBackAsWritten)
{
    // A program folder with a blank in it must stay one argument of the Exec line.
    const fs::path folder = fs::path(os::DataHome()) / "My Apps";
    fs::create_directories(folder);
    const fs::path exe = folder / "Tolvenic";
    std::ofstream(exe) << "#!/bin/sh\n";
    fs::permissions(exe, fs::perms::owner_all);
    const std::wstring command = exe.wstring() + L" -autorun";

    ASSERT_TRUE(os::WriteAutostart(L"Board", command));
    EXPECT_EQ(os::ReadAutostart(L"Board"), command);
    const std::string entry = os::ReadWholeFile(EntryPath(L"Board")).value_or("");
    EXPECT_NE(entry.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"" + exe.string() + "\" -autorun\n"), std::string::npos) << entry;

    ASSERT_TRUE(os::WriteAutostart(L"Board", L"/bin/true -autorun"));
    EXPECT_EQ(os::ReadAutostart(L"Board"), L"/bin/true -autorun");
    EXPECT_TRUE(os::DeleteAutostart(L"Board"));
    EXPECT_FALSE(fs::exists(EntryPath(L"Board")));
    EXPECT_FALSE(os::ReadAutostart(L"Board").has_value());
    EXPECT_TRUE(os::DeleteAutostart(L"Board")) << "nothing left to delete is success";
}

TEST(Autostart, EntryWrittenByHandWithoutOurKeyReadsItsExecLine)
{
    fs::create_directories(os::ConfigHome() + "/autostart");
    ASSERT_TRUE(os::WriteFileAtomic(
        EntryPath(L"Hand"), "[Desktop Entry]\r\nType=Application\r\nExec=/usr/bin/x -autorun\r\n"));
    EXPECT_EQ(os::ReadAutostart(L"Hand"), L"/usr/bin/x -autorun");
    os::DeleteAutostart(L"Hand");
}

TEST(Autostart, ExecLineEscapesReservedCharacters)
{
    struct Case {
        std::wstring command;
        std::string exec;
    };
    const Case cases[] = {
        {L"/usr/bin/tolvenic -autorun", "/usr/bin/tolvenic -autorun"},
        {L"/opt/100%/Tolvenic -autorun", "/opt/100%%/Tolvenic -autorun"},
        {L"/no such/file -autorun", "/no such/file -autorun"},
        {L"a\\b", "a\\\\b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(os::DesktopExecLine(c.command), c.exec);
    }
}

TEST(Autostart, NamesCannotLeaveTheAutostartFolder)
{
    EXPECT_EQ(os::SafeFileName(L"../x/y"), ".._x_y");
    EXPECT_EQ(os::SafeFileName(L".."), "_");
    EXPECT_EQ(os::SafeFileName(L""), "_");
    EXPECT_EQ(os::SafeFileName(L"Tolvenic HE"), "Tolvenic HE");
}

}  // namespace
