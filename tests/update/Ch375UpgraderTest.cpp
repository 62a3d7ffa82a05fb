// The CH375 upgrader against fake bridges: ids, packets, answers and the image's limits.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "FakeCh375Library.h"
#include "FirmwareImages.h"
#include "update/Ch375Upgrader.h"
#include "update/UpgradeState.h"

namespace {

using updatetest::Bytes;
using updatetest::Pattern;
using Posts = std::vector<std::pair<int, int>>;

class Ch375UpgraderTest : public ::testing::Test {
protected:
    int Flash(const Bytes& bytes)
    {
        posts.clear();
        return Ch375Upgrader::GetInstance().Run(
            image_.Write(bytes),
            [this](int percent, int state) { posts.emplace_back(percent, state); });
    }

    fakeusb::FakeCh375Library library;
    updatetest::ImageFile image_{"tv-ch375-image"};
    Posts posts;
};

TEST_F(Ch375UpgraderTest, ImageGoesOutInPacketsOfSixtyThenIsVerifiedAndEnded)
{
    library.Add(0x4348, 0x55E0, "/dev/bus/usb/001/007");
    const Bytes image = Pattern(61);  // padded to 64: packets of 60 and 4
    EXPECT_EQ(Flash(image), UPGRADE_DONE);
    const fakeusb::Bridge bridge = library.Snapshot(0);
    EXPECT_TRUE(bridge.exclusive);
    EXPECT_EQ(bridge.readTimeoutMs, 1000u);
    EXPECT_EQ(bridge.writeTimeoutMs, 1000u);
    ASSERT_EQ(bridge.packets.size(), 6u);
    EXPECT_EQ(bridge.packets[0], (Bytes{0x81, 0x02, 0x00, 0x00}));
    for (const size_t first : {1u, 3u}) {
        const uint8_t command = first == 1 ? 0x80 : 0x82;
        ASSERT_EQ(bridge.packets[first].size(), 64u);
        EXPECT_EQ(Bytes(bridge.packets[first].begin(), bridge.packets[first].begin() + 4),
                  (Bytes{command, 60, 0, 0}));
        EXPECT_EQ(Bytes(bridge.packets[first + 1].begin(), bridge.packets[first + 1].begin() + 4),
                  (Bytes{command, 4, 60, 0}));
        EXPECT_EQ(bridge.packets[first + 1], (Bytes{command, 4, 60, 0, image[60], 0, 0, 0}));
    }
    EXPECT_EQ(bridge.packets[5], (Bytes{0x83, 0x02, 0x00, 0x00}));
    EXPECT_EQ(Bytes(bridge.flash.begin(), bridge.flash.begin() + 61), image);
    EXPECT_EQ(posts, (Posts{{5, UPGRADE_STARTED},
                            {10, UPGRADE_DEVICE_OPEN},
                            {80, UPGRADE_ERASED},
                            {90, UPGRADE_PROGRAMMED},
                            {95, UPGRADE_PROGRAMMED},
                            {100, UPGRADE_DONE}}));
}

TEST_F(Ch375UpgraderTest, AnswersAndImagesThatStopTheUpgrade)
{
    auto bridge = library.Add(0x4348, 0x55E0, "/dev/bus/usb/001/007");
    const struct {
        int refusedPacket;
        size_t length;
        int state;
        Posts tail;  // the posts after the first
        size_t packets;
    } cases[] = {
        // An answer 00 01 to the second program packet.
        {2, 128, UPGRADE_PROGRAM_FAILED, {{10, 3}, {80, 5}, {15, 6}}, 3},
        {0, 128, UPGRADE_ERASE_FAILED, {{10, 3}, {10, 4}}, 1},
        {5, 128, UPGRADE_VERIFY_FAILED, {{10, 3}, {80, 5}, {90, 7}, {60, 8}}, 6},
        // 8 bytes (or 10 padded) are no image; 9 bytes are padded to 12 and flashed.
        {-1, 8, UPGRADE_NO_IMAGE, {{5, 2}}, 0},
        {-1, 9, UPGRADE_DONE, {{10, 3}, {80, 5}, {90, 7}, {95, 7}, {100, 10}}, 4},
        // Offsets have 16 bits: a larger image is refused before anything is erased.
        {-1, 65537, UPGRADE_NO_IMAGE, {{5, 2}}, 0},
    };
    for (const auto& c : cases) {
        bridge->refusedPacket = c.refusedPacket;
        bridge->packets.clear();
        EXPECT_EQ(Flash(Pattern(c.length)), c.state) << c.length << " " << c.refusedPacket;
        Posts expected{{5, UPGRADE_STARTED}};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(posts, expected) << c.length << " " << c.refusedPacket;
        EXPECT_EQ(library.Snapshot(0).packets.size(), c.packets) << c.length;
    }
    // A 64 KB image is the largest the bridge takes; its last packet ends at 0xFFFF.
    bridge->refusedPacket = -1;
    bridge->packets.clear();
    EXPECT_EQ(Flash(Pattern(0x10000)), UPGRADE_DONE);
    const fakeusb::Bridge flashed = library.Snapshot(0);
    EXPECT_EQ(flashed.flash, Pattern(0x10000));
}

TEST_F(Ch375UpgraderTest, OnlyADeviceWithBothIdsIsEverFlashed)
{
    Ch375Upgrader& upgrader = Ch375Upgrader::GetInstance();
    EXPECT_FALSE(upgrader.EnumDevices());
    EXPECT_EQ(Flash(Pattern(64)), UPGRADE_STARTED);  // no bridge
    EXPECT_EQ(posts, (Posts{{5, UPGRADE_STARTED}}));

    auto vendorOnly = library.Add(0x4348, 0x5537, "/dev/bus/usb/001/002");
    auto productOnly = library.Add(0x1A86, 0x55E0, "/dev/bus/usb/001/003");
    EXPECT_FALSE(upgrader.EnumDevices());
    EXPECT_EQ(Flash(Pattern(64)), UPGRADE_STARTED);
    EXPECT_TRUE(vendorOnly->packets.empty());
    EXPECT_TRUE(productOnly->packets.empty());

    library.Add(0x4348, 0x55E0, "");  // a bridge without a name cannot be opened
    auto bridge = library.Add(0x4348, 0x55E0, "/dev/bus/usb/002/009");
    EXPECT_TRUE(upgrader.EnumDevices());
    EXPECT_EQ(upgrader.DeviceNames(), std::vector<std::string>{"/dev/bus/usb/002/009"});
    bridge->opens = false;  // listed, but it does not open: the erase cannot happen
    EXPECT_EQ(Flash(Pattern(64)), UPGRADE_ERASE_FAILED);
    bridge->opens = true;
    EXPECT_EQ(Flash(Pattern(64)), UPGRADE_DONE);
    EXPECT_TRUE(vendorOnly->packets.empty());
    EXPECT_TRUE(productOnly->packets.empty());
}

}  // namespace
