#include "KeyboardFixture.h"
#include "MonitorEvents.h"

namespace vkbtest {
namespace {

TEST_F(KeyboardFixture, UnplugFailsOpenHandlesAndReplugGivesNewPaths)
{
    const auto before = backend.Enumerate();
    backend.Unplug(keyboard);
    uint8_t buffer[65] = {};
    EXPECT_EQ(config->Write(Request(0x03).data(), 65), -1);
    EXPECT_EQ(config->Read(buffer, sizeof buffer, 100), -1);
    EXPECT_TRUE(backend.Enumerate().empty());

    backend.Plug(keyboard);
    const auto after = backend.Enumerate();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_NE(after[1].path, before[1].path);
    EXPECT_EQ(backend.Open(before[1].path), nullptr);
    EXPECT_EQ(config->Read(buffer, sizeof buffer, 0), -1);  // a handle never comes back
    auto reopened = backend.Open(after[1].path);
    ASSERT_NE(reopened, nullptr);
    EXPECT_FALSE(Exchange(*reopened, Request(0x03)).empty());
}

TEST_F(KeyboardFixture, RejectsMalformedPaths)
{
    for (const char* path : {"", "virtual/", "virtual/0/1", "virtual/0/1/1x", "virtual/9/1/1",
                             "virtual/0/1/99", "/dev/hidraw0"}) {
        EXPECT_EQ(backend.Open(path), nullptr) << path;
    }
}

TEST_F(KeyboardFixture, MonitorReportsRemovalAndArrival)
{
    Events events;
    auto monitor = backend.MakeMonitor();
    ASSERT_NE(monitor, nullptr);
    ASSERT_TRUE(monitor->Start(events.Callback()));
    backend.Unplug(keyboard);
    ASSERT_TRUE(events.WaitFor(0, 4));
    backend.Plug(keyboard);
    ASSERT_TRUE(events.WaitFor(4, 4));
    monitor->Stop();
    EXPECT_TRUE(events.Holds(false, L"VID_3B6D&PID_FD70&MI_01"));
    EXPECT_TRUE(events.Holds(true, L"VID_3B6D&PID_FD70&MI_01"));
    EXPECT_TRUE(events.Holds(true, L"VID_3B6D&PID_9053&MI_03"));
}

}  // namespace
}  // namespace vkbtest
