#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "app/AppTestSupport.h"
#include "app/RegistrySettings.h"
#include "platform/os/Registry.h"

namespace fs = std::filesystem;

namespace {

TEST(RegistrySettings, FirstReadCreatesTheKeyAndReadsZero)
{
    apptest::FreshDeviceName();
    EXPECT_EQ(GetLanguageId(), 0);
    EXPECT_TRUE(os::RegKeyExists(DeviceRegistryKey()));

    apptest::FreshDeviceName();
    EXPECT_EQ(GetRegInt(L"exit_mode"), 0);
    EXPECT_TRUE(os::RegKeyExists(DeviceRegistryKey()));
}

TEST(RegistrySettings, WritersAndDeviceTypeReaderNeverCreateTheKey)
{
    apptest::FreshDeviceName();
    SetLanguageId(2052);
    SetRegString(L"exit_mode", L"1");
    WriteDeviceType(105);
    EXPECT_EQ(ReadDeviceType(), 0);
    EXPECT_FALSE(os::RegKeyExists(DeviceRegistryKey()));
    EXPECT_FALSE(fs::exists(apptest::RegistryFile().parent_path()));
}

TEST(RegistrySettings, ValuesRoundTripOnceTheKeyExists)
{
    apptest::FreshDeviceName();
    ASSERT_EQ(GetLanguageId(), 0);
    SetLanguageId(2052);
    SetRegString(L"exit_mode", L"1");
    SetRegString(L"autorun_minimize", L"yes");
    WriteDeviceType(105);
    EXPECT_EQ(GetLanguageId(), 2052);
    EXPECT_EQ(GetRegInt(L"exit_mode"), 1);
    EXPECT_EQ(GetRegInt(L"autorun_minimize"), 0) << "not a number";
    EXPECT_EQ(GetRegInt(L"missing"), 0);
    EXPECT_EQ(ReadDeviceType(), 105);
    EXPECT_EQ(os::RegReadString(DeviceRegistryKey(), L"DeviceType"), L"105");
}

TEST(RegistrySettings, KeyThatCannotBeOpenedGivesTheFallbacks)
{
    apptest::FreshDeviceName();
    fs::create_directories(apptest::RegistryFile());  // a folder where the store file belongs
    EXPECT_EQ(GetLanguageId(), 1033);
    EXPECT_EQ(GetRegInt(L"exit_mode"), 0);
    EXPECT_EQ(ReadDeviceType(), 0);
}

TEST(RegistrySettings, DecimalTextReadsLikeWtoi)
{
    const std::pair<const wchar_t*, int> cases[] = {
        {L"1033", 1033},
        {L"  42", 42},
        {L"-7", -7},
        {L"+5", 5},
        {L"12abc", 12},
        {L"abc", 0},
        {L"", 0},
        {L"- 1", 0},
        {L"99999999999", INT_MAX},
        {L"-99999999999", INT_MIN},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(DecimalTextToInt(text), value) << text;
    }
}

}  // namespace
