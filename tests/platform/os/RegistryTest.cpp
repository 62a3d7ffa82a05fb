#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/os/AtomicFile.h"
#include "platform/os/Autostart.h"
#include "platform/os/Registry.h"
#include "platform/os/XdgPaths.h"

namespace fs = std::filesystem;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        name_ = L"RegTest" + std::to_wstring(counter_++);
        folder_ = os::ConfigHome() + "/" + os::SafeFileName(name_);
        fs::remove_all(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::wstring Key() const { return L"SOFTWARE\\" + name_; }
    std::string File() const { return folder_ + "/registry.ini"; }

    static inline int counter_ = 0;
    std::wstring name_;
    std::string folder_;
};

TEST_F(RegistryTest, WritingToAMissingKeyFailsAndCreatesNothing)
{
    EXPECT_FALSE(os::RegKeyExists(Key()));
    EXPECT_FALSE(os::RegWriteString(Key(), L"LCID", L"1033"));
    EXPECT_FALSE(os::RegKeyExists(Key()));
    EXPECT_FALSE(fs::exists(folder_));
    EXPECT_FALSE(os::RegReadString(Key(), L"LCID").has_value());
}

TEST_F(RegistryTest, CreatedKeyKeepsValuesExactlyAndNamesIgnoreCase)
{
    ASSERT_TRUE(os::RegCreateKey(Key()));
    EXPECT_TRUE(os::RegKeyExists(Key()));
    EXPECT_TRUE(os::RegKeyExists(name_)) << "the bare name names the same key";
    EXPECT_TRUE(os::RegCreateKey(Key())) << "creating an existing key is fine";

    const std::vector<std::pair<std::wstring, std::wstring>> values = {
        {L"LCID", L"2052"}, {L"a=b", L"x=y\\z"},      {L"[odd]", L"line1\nline2\r\n"},
        {L"empty", L""},    {L"wide", L"配置方案 ✓"},
    };
    for (const auto& [name, value] : values) {
        ASSERT_TRUE(os::RegWriteString(Key(), name, value));
    }
    for (const auto& [name, value] : values) {
        EXPECT_EQ(os::RegReadString(name_, name), value);
    }
    EXPECT_EQ(os::RegReadString(Key(), L"lcid"), L"2052");
    ASSERT_TRUE(os::RegWriteString(Key(), L"Lcid", L"1033"));
    EXPECT_EQ(os::RegReadString(Key(), L"LCID"), L"1033");
    EXPECT_EQ(os::RegReadString(Key(), L"wide"), L"配置方案 ✓") << "other values stay";
    EXPECT_FALSE(os::RegReadString(Key(), L"missing").has_value());
}

TEST_F(RegistryTest, FailedWriteKeepsTheOldFileWhole)
{
    ASSERT_TRUE(os::RegCreateKey(Key()));
    ASSERT_TRUE(os::RegWriteString(Key(), L"exit_mode", L"1"));
    const auto before = os::ReadWholeFile(File());
    ASSERT_TRUE(before.has_value());

    // A full disk: no file may grow past a few bytes while the value is written.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tiny = old;
    tiny.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &tiny);
    const bool written = os::RegWriteString(Key(), L"LCID", std::wstring(200, L'7'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_FALSE(written);
    EXPECT_EQ(os::ReadWholeFile(File()), before);
    EXPECT_EQ(os::RegReadString(Key(), L"exit_mode"), L"1");
    EXPECT_FALSE(os::RegReadString(Key(), L"LCID").has_value());
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_)) {
        ++files;
    }
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST_F(RegistryTest, DamagedFileGivesWhatItStillHoldsAndTakesNewValues)
{
    fs::create_directories(folder_);
    ASSERT_TRUE(os::WriteFileAtomic(File(), "garbage line\n\xFF\xFE=\x80\nLCID=1041\r\n=\n"));
    EXPECT_EQ(os::RegReadString(Key(), L"LCID"), L"1041");
    EXPECT_TRUE(os::RegWriteString(Key(), L"DeviceType", L"105"));
    EXPECT_EQ(os::RegReadString(Key(), L"DeviceType"), L"105");
    EXPECT_EQ(os::RegReadString(Key(), L"LCID"), L"1041");
}

TEST_F(RegistryTest, WritersOnSeveralThreadsLoseNoValue)
{
    ASSERT_TRUE(os::RegCreateKey(Key()));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 10; ++i) {
                os::RegWriteString(Key(), L"v" + std::to_wstring(t * 10 + i), std::to_wstring(i));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int n = 0; n < 40; ++n) {
        EXPECT_EQ(os::RegReadString(Key(), L"v" + std::to_wstring(n)), std::to_wstring(n % 10));
    }
}

TEST_F(RegistryTest, RunKeyValuesAreAutostartEntries)
{
    const std::wstring run = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    EXPECT_FALSE(os::RegReadString(run, name_).has_value());
    ASSERT_TRUE(os::RegWriteString(run, name_, L"/opt/x/Tolvenic -autorun"));
    EXPECT_EQ(os::ReadAutostart(name_), L"/opt/x/Tolvenic -autorun");
    EXPECT_EQ(os::RegReadString(run, name_), L"/opt/x/Tolvenic -autorun");
    EXPECT_TRUE(os::DeleteAutostart(name_));
    EXPECT_FALSE(os::RegReadString(run, name_).has_value());
}

}  // namespace
