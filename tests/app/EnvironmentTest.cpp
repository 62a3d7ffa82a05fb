#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppTestSupport.h"
#include "app/Environment.h"
#include "app/Startup.h"
#include "platform/os/XdgPaths.h"
#include "platform/text/Utf8.h"

namespace fs = std::filesystem;

namespace {

std::wstring Wide(const fs::path& path) { return text::Utf8ToWide(path.string()); }

TEST(Environment, ModuleFolderIsTheExecutablesFolderWithASlash)
{
    const std::wstring folder = GetModuleFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'/');
    EXPECT_EQ(text::Utf8ToWide(GetModuleFolderA()) + L"/", folder);
    EXPECT_TRUE(fs::exists(text::WideToUtf8(folder) + "app_tests"));

    SetModuleFolder(L"/opt\\tolvenic");
    EXPECT_EQ(GetModuleFolder(), L"/opt/tolvenic/");
    EXPECT_EQ(GetModuleFolderA(), "/opt/tolvenic");
    SetModuleFolder(L"");
    EXPECT_EQ(GetModuleFolder(), folder);
}

TEST(Environment, DataFolderIsNamedAfterTheDevice)
{
    MUI::Manager::SetDeviceName(L"Tolvenic HE");
    EXPECT_EQ(GetDataFolder(), text::Utf8ToWide(os::DataHome()) + L"/Tolvenic HE Files/");
}

TEST(Environment, DirectoryTreeIsCreatedFromWindowsStylePaths)
{
    const fs::path base = apptest::FreshFolder("tree");
    EXPECT_TRUE(CreateDirectoryTree(Wide(base) + L"\\a\\b//c"));
    EXPECT_TRUE(fs::is_directory(base / "a/b/c"));
    EXPECT_TRUE(CreateDirectoryTree(Wide(base / "a/b/c"))) << "an existing folder";

    apptest::WriteText(base / "file", "x");
    EXPECT_FALSE(CreateDirectoryTree(Wide(base / "file"))) << "a file is no folder";
    EXPECT_FALSE(CreateDirectoryTree(Wide(base / "file/sub")));
    EXPECT_FALSE(CreateDirectoryTree(L""));
}

fs::perms Mode(const fs::path& path) { return fs::symlink_status(path).permissions(); }

TEST(Environment, PrivateFolderIsMadeAndCheckedWithoutFollowingLinks)
{
    const fs::path base = apptest::FreshFolder("private");
    const fs::path shared = base / "shared";
    fs::create_directories(shared);
    fs::permissions(shared, fs::perms(0755));
    fs::create_directories(base / "open");
    fs::permissions(base / "open", fs::perms(0755));
    fs::create_symlink(shared, base / "link");
    fs::create_symlink(base / "nowhere", base / "dangling");
    apptest::WriteText(base / "file", "x");

    struct Case {
        std::wstring path;
        bool made;
    };
    const Case cases[] = {
        {Wide(base / "new/deeper"), true},   {Wide(base / "open"), true},
        {Wide(base) + L"\\open\\", true},    {Wide(base / "link"), false},
        {Wide(base / "link") + L"/", false}, {Wide(base / "dangling"), false},
        {Wide(base / "file"), false},        {L"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CreatePrivateFolder(c.path), c.made) << text::WideToUtf8(c.path);
    }
    EXPECT_EQ(Mode(base / "new/deeper"), fs::perms(0700));
    EXPECT_EQ(Mode(base / "open"), fs::perms(0700)) << "an existing folder is closed to others";
    EXPECT_EQ(Mode(shared), fs::perms(0755)) << "a link's target keeps its mode";
    EXPECT_TRUE(fs::is_symlink(base / "link"));
    EXPECT_FALSE(fs::exists(base / "nowhere")) << "nothing is made where a dangling link points";
}

TEST(Environment, DataFolderLinksKeepTheirTargetsModes)
{
    apptest::FreshDeviceName();
    const fs::path data(text::WideToUtf8(GetDataFolder()));
    const fs::path elsewhere = apptest::FreshFolder("elsewhere");
    fs::remove_all(data);
    fs::create_directories(data);
    for (const char* name : {"db", "edit"}) {
        fs::create_directories(elsewhere / name);
        apptest::WriteText(elsewhere / name / "kept", "1");
        fs::permissions(elsewhere / name, fs::perms(0755));
        fs::create_symlink(elsewhere / name, data / name);
    }

    PrepareDataFolder();

    EXPECT_EQ(Mode(data), fs::perms(0700));
    EXPECT_TRUE(fs::is_symlink(data / "db"));
    EXPECT_EQ(Mode(elsewhere / "db"), fs::perms(0755));
    EXPECT_FALSE(fs::is_symlink(data / "edit")) << "the emptied edit folder is made anew";
    EXPECT_EQ(Mode(data / "edit"), fs::perms(0700));
    EXPECT_EQ(Mode(elsewhere / "edit"), fs::perms(0755));
    EXPECT_TRUE(fs::exists(elsewhere / "edit/kept")) << "the link is removed, not followed";
    EXPECT_TRUE(fs::exists(elsewhere / "db/kept"));
}

TEST(Environment, DeleteFolderRemovesEverythingBelowIt)
{
    const fs::path base = apptest::FreshFolder("delete");
    apptest::WriteText(base / "edit/one.txt", "1");
    apptest::WriteText(base / "edit/sub/two.txt", "2");
    fs::create_symlink(base / "keep", base / "edit/link");
    apptest::WriteText(base / "keep/three.txt", "3");

    EXPECT_TRUE(DeleteFolder(Wide(base) + L"\\edit"));
    EXPECT_FALSE(fs::exists(base / "edit"));
    EXPECT_TRUE(fs::exists(base / "keep/three.txt")) << "a link is removed, not followed";
    EXPECT_FALSE(DeleteFolder(Wide(base / "edit"))) << "nothing there";
    EXPECT_FALSE(DeleteFolder(L""));
    EXPECT_FALSE(DeleteFolder(L"/"));
    EXPECT_FALSE(DeleteFolder(L"/tmp/.."));
}

}  // namespace
