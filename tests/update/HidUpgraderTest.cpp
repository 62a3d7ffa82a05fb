// The HID boot-loader upgrader against the virtual keyboard's boot loader, which records every
// breach of the upgrade's order as an error.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "FirmwareImages.h"
#include "VirtualHidBackend.h"
#include "VirtualKeyboard.h"
#include "device/DeviceManager.h"
#include "update/HidUpgrader.h"
#include "update/UpgradeState.h"

namespace {

using updatetest::Bytes;
using updatetest::Pattern;
using Posts = std::vector<std::pair<int, int>>;

class HidUpgraderTest : public ::testing::Test {
protected:
    void SetUp() override { hid::SetBackend(&backend); }
    void TearDown() override
    {
        DeviceManager::CloseIspLink();
        hid::SetBackend(nullptr);
    }

    // A keyboard waiting in its boot loader.
    std::shared_ptr<vkb::VirtualKeyboard> PlugBootLoader(vkb::KeyboardOptions options = {})
    {
        options.startInBootLoader = true;
        auto keyboard = std::make_shared<vkb::VirtualKeyboard>(options);
        backend.Plug(keyboard);
        return keyboard;
    }

    bool Flash(const Bytes& bytes, uint16_t product = 0xAF3E)
    {
        return HidUpgrader::GetInstance().Run(
            0x3B6D, product, image_.Write(bytes),
            [this](int percent, int state) { posts.emplace_back(percent, state); });
    }

    std::vector<int> Percents() const
    {
        std::vector<int> percents;
        for (const auto& [percent, state] : posts) percents.push_back(percent);
        return percents;
    }

    vkb::VirtualHidBackend backend;
    updatetest::ImageFile image_{"tv-hid-image"};
    Posts posts;
};

TEST_F(HidUpgraderTest, WholeFlashProgramsVerifiesEndsAndFinishes)
{
    auto keyboard = PlugBootLoader();
    const Bytes image = Pattern(64);
    ASSERT_TRUE(Flash(image));
    EXPECT_EQ(keyboard->BootImage(), image);
    EXPECT_EQ(keyboard->Flashes(), 1);
    EXPECT_EQ(keyboard->Errors(), std::vector<std::string>{});
    // Two chunks programmed (15, 37) and verified (60, 77).
    EXPECT_EQ(Percents(), (std::vector<int>{5, 10, 15, 15, 37, 60, 60, 77, 95, 98, 100}));
    EXPECT_EQ(posts.back().second, UPGRADE_DONE);
    EXPECT_EQ(DeviceManager::IspLink(), nullptr);
}

TEST_F(HidUpgraderTest, ImagesAreCutIntoChunksAtTheirOffsetsAndPaddedToFour)
{
    const struct {
        size_t length;
        size_t flashed;  // padded to 4
        std::vector<int> percents;
    } cases[] = {
        {12, 12, {5, 10, 15, 15, 60, 60, 95, 98, 100}},  // one chunk of 12 bytes
        {13, 16, {5, 10, 15, 15, 60, 60, 95, 98, 100}},
        {1024, 1024, {}},  // offsets 0, 32, ... 992
    };
    for (const auto& c : cases) {
        auto keyboard = PlugBootLoader();
        posts.clear();
        Bytes image = Pattern(c.length);
        ASSERT_TRUE(Flash(image)) << c.length;
        image.resize(c.flashed, 0);
        EXPECT_EQ(keyboard->BootImage(), image) << c.length;
        EXPECT_EQ(keyboard->Errors(), std::vector<std::string>{}) << c.length;
        if (!c.percents.empty()) {
            EXPECT_EQ(Percents(), c.percents) << c.length;
        }
        backend.Unplug(keyboard);
    }
}

TEST_F(HidUpgraderTest, AnyRefusalFailsTheUpgradeAndNothingFollowsIt)
{
    const struct {
        const char* fault;  // nullptr: the boot loader refuses program chunk 1
        int state;
        int lastPercent;
    } cases[] = {
        {nullptr, UPGRADE_PROGRAM_FAILED, 30},  // chunk 1 of 3
        {"fail-write=0x81", UPGRADE_ERASE_FAILED, 10},
        {"no-answer=0x82:1", UPGRADE_VERIFY_FAILED, 60},
        // A failed end or finish is a failed upgrade.
        {"no-answer=0x83", UPGRADE_END_FAILED, 95},
        // A finish the boot loader never got leaves it waiting: nothing came back running.
        {"fail-write=0x84", UPGRADE_END_FAILED, 98},
    };
    for (const auto& c : cases) {
        vkb::KeyboardOptions options;
        options.refusedBootChunk = c.fault == nullptr ? 1 : -1;
        auto keyboard = PlugBootLoader(options);
        if (c.fault != nullptr) keyboard->AddFault(*vkb::ParseFault(c.fault));
        posts.clear();
        EXPECT_FALSE(Flash(Pattern(96)));
        ASSERT_FALSE(posts.empty());
        EXPECT_EQ(posts.back(), std::make_pair(c.lastPercent, c.state))
            << (c.fault ? c.fault : "refused chunk");
        EXPECT_EQ(keyboard->Errors(), std::vector<std::string>{}) << (c.fault ? c.fault : "");
        EXPECT_EQ(DeviceManager::IspLink(), nullptr);
        if (c.fault == nullptr) {
            // Nothing was verified after the refusal.
            for (const auto& request : keyboard->Requests()) EXPECT_NE(request.Command(), 0x82);
        }
        backend.Unplug(keyboard);
    }
}

TEST_F(HidUpgraderTest, NothingIsErasedForAMissingTooSmallOrTooLargeImage)
{
    auto keyboard = PlugBootLoader();
    const struct {
        size_t length;  // 0: no file at all
    } cases[] = {{0}, {8}, {HidUpgrader::kImageCapacity + 1}};
    for (const auto& c : cases) {
        posts.clear();
        image_.Remove();
        const bool result = c.length == 0 ? HidUpgrader::GetInstance().Run(
                                                0x3B6D, 0xAF3E, image_.Path(),
                                                [this](int p, int s) { posts.emplace_back(p, s); })
                                          : Flash(Bytes(c.length, 1));
        EXPECT_FALSE(result) << c.length;
        EXPECT_EQ(posts, (Posts{{5, UPGRADE_STARTED}, {5, UPGRADE_NO_IMAGE}})) << c.length;
        EXPECT_FALSE(c.length == 0 && image_.Exists()) << "a missing image is not created";
    }
    EXPECT_TRUE(keyboard->BootImage().empty());
    // No boot loader with the ids: the state stays where it started.
    posts.clear();
    EXPECT_FALSE(Flash(Pattern(64), 0xFF36));
    EXPECT_EQ(posts, (Posts{{5, UPGRADE_STARTED}}));
    EXPECT_EQ(HidUpgrader::GetInstance().State(), UPGRADE_STARTED);
}

TEST_F(HidUpgraderTest, EnterBootloaderSwitchesTheRunningKeyboard)
{
    auto keyboard = std::make_shared<vkb::VirtualKeyboard>();
    backend.Plug(keyboard);
    SendEnterBootloader(0x3B6D, 0x1234);  // no such interface: nothing sent
    EXPECT_EQ(keyboard->EnterBootRequests(), 0);
    SendEnterBootloader(0x3B6D, 0x9053);
    EXPECT_EQ(keyboard->EnterBootRequests(), 1);
    keyboard->Poll();  // the restart was due a while ago
    EXPECT_EQ(keyboard->CurrentMode(), vkb::VirtualKeyboard::Mode::BootLoader);
    EXPECT_EQ(DeviceManager::IspLink(), nullptr);
}

}  // namespace
