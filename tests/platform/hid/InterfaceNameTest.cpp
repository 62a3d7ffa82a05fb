#include <gtest/gtest.h>

#include "platform/hid/HidSeam.h"

namespace {

TEST(InterfaceName, HoldsUpperCaseIdsAndGivesBackThePath)
{
    const std::wstring name = hid::MakeInterfaceName(0x3b6d, 0xfd70, 1, "/dev/hidraw3");
    EXPECT_EQ(name, L"HID#VID_3B6D&PID_FD70&MI_01#/dev/hidraw3");
    EXPECT_EQ(hid::InterfacePath(name), "/dev/hidraw3");

    const std::wstring noInterface = hid::MakeInterfaceName(0x4348, 0x55e0, -1, "/tmp/a#b c");
    EXPECT_EQ(noInterface, L"HID#VID_4348&PID_55E0#/tmp/a#b c");
    EXPECT_EQ(hid::InterfacePath(noInterface), "/tmp/a#b c");

    EXPECT_EQ(hid::InterfacePath(hid::MakeInterfaceName(1, 2, 0x1A, "/sock/\xc3\xa9t\xc3\xa9")),
              "/sock/\xc3\xa9t\xc3\xa9");
}

TEST(InterfaceName, OtherTextsAreTakenAsPaths)
{
    EXPECT_EQ(hid::InterfacePath(L"/dev/hidraw0"), "/dev/hidraw0");
    EXPECT_EQ(hid::InterfacePath(L"HID#VID_1234"), "HID#VID_1234");
    EXPECT_EQ(hid::InterfacePath(L""), "");
}

}  // namespace
