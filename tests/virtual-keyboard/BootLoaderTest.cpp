#include <chrono>
#include <thread>

#include "KeyboardFixture.h"

namespace vkbtest {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes BootReport(uint8_t command, uint8_t second, uint32_t offset = 0, const Bytes& chunk = {})
{
    Bytes r(1024, 0);
    r[1] = command;
    r[2] = second;
    if (command == 0x80 || command == 0x82) {
        for (int i = 0; i < 4; ++i) r[3 + i] = static_cast<uint8_t>(offset >> (8 * i));
        std::copy(chunk.begin(), chunk.end(), r.begin() + 7);
    }
    return r;
}

Bytes EraseReport(uint16_t vendor, uint16_t product)
{
    Bytes r = BootReport(0x81, 0x07);
    r[3] = vendor & 0xFF;
    r[4] = vendor >> 8;
    r[5] = product & 0xFF;
    r[6] = product >> 8;
    return r;
}

// The boot loader's verdict: the two bytes after the report ID are both 0.
bool Good(const Bytes& answer) { return answer.size() >= 3 && answer[1] == 0 && answer[2] == 0; }

std::unique_ptr<hid::HidDevice> OpenByUsage(hid::HidBackend& backend, uint16_t product,
                                            uint16_t usagePage, uint16_t usage)
{
    for (const auto& info : backend.Enumerate(0x3B6D, product)) {
        if (info.usagePage == usagePage && info.usage == usage) return backend.Open(info.path);
    }
    return nullptr;
}

std::unique_ptr<hid::HidDevice> WaitForBoot(hid::HidBackend& backend, uint16_t product)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
        if (auto boot = OpenByUsage(backend, product, 0xFF00, 0x01)) return boot;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return nullptr;
}

TEST_F(KeyboardFixture, EnterBootThenUpgradeAndRestart)
{
    auto entry = OpenByUsage(backend, 0x9053, 0x0001, 0x0000);
    ASSERT_NE(entry, nullptr);
    Bytes enter(1024, 0);
    enter[1] = 0x5F;
    enter[2] = 0x06;
    enter[5] = 0x01;
    enter[9] = 0x51;
    ASSERT_GT(entry->Write(enter.data(), enter.size()), 0);
    EXPECT_FALSE(ReadReport(*entry, 100).empty());

    auto boot = WaitForBoot(backend, 0xAF3E);
    ASSERT_NE(boot, nullptr);
    EXPECT_EQ(keyboard->EnterBootRequests(), 1);
    uint8_t buffer[65];
    EXPECT_EQ(config->Read(buffer, sizeof buffer, 0), -1);
    EXPECT_TRUE(backend.Enumerate(0x3B6D, 0xFD70).empty());

    Bytes image(64);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7);
    EXPECT_TRUE(Good(Exchange(*boot, EraseReport(0x3B6D, 0xAF3E))));
    for (uint8_t command : {0x80, 0x82}) {
        for (uint32_t offset : {0u, 32u}) {
            const Bytes chunk(image.begin() + offset, image.begin() + offset + 32);
            EXPECT_TRUE(Good(Exchange(*boot, BootReport(command, 32, offset, chunk))))
                << int(command) << " at " << offset;
        }
    }
    EXPECT_TRUE(Good(Exchange(*boot, BootReport(0x83, 0x01))));
    EXPECT_TRUE(Good(Exchange(*boot, BootReport(0x84, 0x01))));
    EXPECT_EQ(keyboard->BootImage(), image);
    EXPECT_EQ(keyboard->Flashes(), 1);

    // Back as the running keyboard.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (keyboard->CurrentMode() != vkb::VirtualKeyboard::Mode::Running &&
           std::chrono::steady_clock::now() < until) {
        keyboard->Poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_NE(OpenInterface(backend, 0xFD70, 1), nullptr);
}

TEST(BootLoader, RefusesOutOfOrderOrForeignOrMismatchedReports)
{
    vkb::KeyboardOptions options;
    options.startInBootLoader = true;
    options.bootProductId = 0xFF36;
    auto keyboard = std::make_shared<vkb::VirtualKeyboard>(options);
    vkb::VirtualHidBackend backend;
    backend.Plug(keyboard);
    auto boot = OpenByUsage(backend, 0xFF36, 0xFF00, 0x01);
    ASSERT_NE(boot, nullptr);
    const Bytes chunk(32, 0x5A);

    EXPECT_FALSE(Good(Exchange(*boot, BootReport(0x80, 32, 0, chunk))));  // before the erase
    EXPECT_FALSE(Good(Exchange(*boot, EraseReport(0x3B6D, 0xFF23))));     // other product
    ASSERT_TRUE(Good(Exchange(*boot, EraseReport(0x3B6D, 0xFF36))));
    EXPECT_FALSE(Good(Exchange(*boot, BootReport(0x80, 33, 0, chunk))));  // chunk too long
    EXPECT_FALSE(Good(Exchange(*boot, BootReport(0x80, 32, 819200 - 16, chunk))));
    ASSERT_TRUE(Good(Exchange(*boot, BootReport(0x80, 12, 0, chunk))));
    Bytes other = chunk;
    other[11] ^= 0xFF;
    EXPECT_FALSE(Good(Exchange(*boot, BootReport(0x82, 12, 0, other))));
    EXPECT_FALSE(Good(Exchange(*boot, BootReport(0x82, 13, 0, chunk))));  // byte 12 never written
    EXPECT_TRUE(Good(Exchange(*boot, BootReport(0x82, 12, 0, chunk))));
    EXPECT_EQ(keyboard->BootVerifyFailures(), 2);
    EXPECT_EQ(keyboard->BootImage(), Bytes(12, 0x5A));
    EXPECT_FALSE(Good(Exchange(*boot, BootReport(0x85, 0x01))));
}

}  // namespace
}  // namespace vkbtest
