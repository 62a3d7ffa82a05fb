// Entry point of every test program: no test may touch the real home folder or
// need a display, so the XDG folders point inside the build tree and Qt runs offscreen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    // One home per process: ctest may run several test programs at once.
    const std::string home = std::string(TV_TEST_HOME) + "/" + std::to_string(getpid());
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
    std::filesystem::create_directories(home + "/runtime");
    std::filesystem::permissions(home + "/runtime", std::filesystem::perms::owner_all);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TV_SOURCE_DIR", TV_SOURCE_DIR, 0);
    // The offscreen desktop has no tray; the tests play one that has, unless they say otherwise.
    setenv("TOLVENIC_TEST_SYSTEM_TRAY", "1", 0);

    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return rc;
}
