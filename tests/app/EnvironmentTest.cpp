#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppTestSupport.h"
#include "app/Environment.h"
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
