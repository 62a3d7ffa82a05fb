#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/AppTestSupport.h"
#include "app/RegistrySettings.h"
#include "app/Startup.h"
#include "platform/mui/WindowMessages.h"
#include "platform/os/Autostart.h"
#include "platform/os/Registry.h"

namespace {

TEST(ShowMode, HiddenOnlyForAnAutostartWithStartHiddenOnAndATray)
{
    struct Case {
        const wchar_t* commandLine;
        bool entry;
        const wchar_t* minimize;  // nothing: value absent
        int mode;
        const char* tray = "1";
    };
    const Case cases[] = {
        {L"-autorun", true, L"1", SW_HIDE},  {L"--x-autorun-y", true, L"1", SW_HIDE},
        {L"-autorun", true, L"0", SW_SHOW},  {L"-autorun", true, nullptr, SW_SHOW},
        {L"-autorun", false, L"1", SW_SHOW}, {L"", true, L"1", SW_SHOW},
        {L"-AUTORUN", true, L"1", SW_SHOW},  {L"-autorun", true, L"1", SW_SHOW, "0"},
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
        EXPECT_EQ(ChooseShowMode(c.commandLine), c.mode) << c.commandLine << " entry " << c.entry;
        os::DeleteAutostart(name);
    }
    setenv("TOLVENIC_TEST_SYSTEM_TRAY", "1", 1);
}

}  // namespace
