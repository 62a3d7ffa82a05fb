#include <gtest/gtest.h>

#include "virtual-keyboard/ControlCommand.h"
#include "virtual-keyboard/KeyboardClient.h"

namespace vkbtest {
namespace {

TEST(ControlCommand, CarriesOutWellFormedCommands)
{
    vkb::VirtualKeyboard keyboard;
    EXPECT_EQ(vkb::RunControlCommand(keyboard, "profile-switch 3 1"), "ok");
    EXPECT_EQ(keyboard.ActiveLayer(), 3);
    EXPECT_EQ(keyboard.ActiveProfile(), 1);
    EXPECT_EQ(vkb::RunControlCommand(keyboard, "travel 17 256 261 7 1 0 5 100 300"), "ok");
    EXPECT_EQ(vkb::RunControlCommand(keyboard, "fault no-answer=0x08:2"), "ok");
    EXPECT_EQ(vkb::RunControlCommand(keyboard, "clear-faults"), "ok");
    const uint64_t generation = keyboard.Generation();
    EXPECT_EQ(vkb::RunControlCommand(keyboard, "short-reports on"), "ok");
    EXPECT_EQ(keyboard.Interfaces()[1].outputReportLength, 64);
    EXPECT_EQ(vkb::RunControlCommand(keyboard, "refuse-open on"), "ok");
    EXPECT_EQ(keyboard.Open(1, keyboard.Generation()), nullptr);
    EXPECT_EQ(vkb::RunControlCommand(keyboard, "refuse-open off"), "ok");
    EXPECT_NE(keyboard.Open(1, keyboard.Generation()), nullptr);
    EXPECT_EQ(vkb::RunControlCommand(keyboard, "unplug 100000"), "ok");
    EXPECT_FALSE(keyboard.Plugged());
    EXPECT_GT(keyboard.Generation(), generation);
    EXPECT_EQ(vkb::RunControlCommand(keyboard, "restart boot"), "ok");
    EXPECT_EQ(keyboard.CurrentMode(), vkb::VirtualKeyboard::Mode::BootLoader);
}

TEST(ControlCommand, RefusesMalformedCommands)
{
    vkb::VirtualKeyboard keyboard;
    for (const char* line : {"",
                             "fly",
                             "fault",
                             "fault no-answer=0x1FF",
                             "fault a b",
                             "short-reports maybe",
                             "refuse-open",
                             "refuse-open yes",
                             "travel 17 256",
                             "travel 128 1 1",
                             "travel 1 70000 1",
                             "travel -1 1 1",
                             "profile-switch 1",
                             "profile-switch 9 0",
                             "profile-switch 0 4",
                             "profile-switch x y",
                             "unplug",
                             "unplug -5",
                             "restart sideways",
                             "clear-log now",
                             "fail-handles now"}) {
        EXPECT_EQ(vkb::RunControlCommand(keyboard, line).rfind("error:", 0), 0u) << line;
    }
    EXPECT_EQ(keyboard.ActiveProfile(), 0);
    EXPECT_TRUE(keyboard.Plugged());
}

TEST(KeyboardClient, ReadsStateDumpsAndHexadecimal)
{
    const auto items = vkb::ParseState("mode running\nerror one\nerror two\nrequests 0\n");
    EXPECT_EQ(items.at("mode"), "running");
    EXPECT_EQ(items.at("error"), "one\ntwo");
    EXPECT_EQ(vkb::HexToBytes("00aBFf"), (std::vector<uint8_t>{0x00, 0xAB, 0xFF}));
    for (const char* bad : {"0", "0G", "  ", "1 2"}) {
        EXPECT_FALSE(vkb::HexToBytes(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace vkbtest
