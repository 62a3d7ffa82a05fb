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

// A boot loader of the given product, waiting, with its interface open.
struct WaitingBootLoader {
    explicit WaitingBootLoader(uint16_t product, int refusedChunk = -1)
    {
        vkb::KeyboardOptions options;
        options.startInBootLoader = true;
        options.bootProductId = product;
        options.refusedBootChunk = refusedChunk;
        keyboard = std::make_shared<vkb::VirtualKeyboard>(options);
        backend.Plug(keyboard);
        boot = OpenByUsage(backend, product, 0xFF00, 0x01);
    }
    bool Send(const Bytes& report) { return Good(Exchange(*boot, report)); }

    vkb::VirtualHidBackend backend;
    std::shared_ptr<vkb::VirtualKeyboard> keyboard;
    std::unique_ptr<hid::HidDevice> boot;
};

TEST(BootLoader, EachBootProductTakesAStartWithItsOwnIdsOnly)
{
    for (const uint16_t product : {0xFF36, 0xFF23, 0xFF72, 0xAF3E}) {
        WaitingBootLoader loader(product);
        ASSERT_NE(loader.boot, nullptr) << product;
        const uint16_t other = product == 0xFF36 ? 0xFF23 : 0xFF36;
        EXPECT_FALSE(loader.Send(EraseReport(0x3B6D, other))) << product;
        EXPECT_TRUE(loader.Send(EraseReport(0x3B6D, product))) << product;
        EXPECT_EQ(loader.keyboard->Errors().size(), 1u) << product;
    }
}

TEST(BootLoader, RecordsEveryBreachOfTheUpgradesOrder)
{
    const Bytes chunk(32, 0x5A);
    Bytes padded = BootReport(0x80, 32, 0, chunk);
    padded[40] = 1;  // a byte after the chunk
    Bytes paddedEnd = BootReport(0x83, 0x01);
    paddedEnd[64] = 1;
    const struct {
        const char* breach;
        std::vector<Bytes> reports;  // after the start; the last one is refused
    } cases[] = {
        {"chunk before the first", {BootReport(0x80, 32, 32, chunk)}},
        {"chunk skipped", {BootReport(0x80, 32, 0, chunk), BootReport(0x80, 32, 64, chunk)}},
        {"chunk after a short one",
         {BootReport(0x80, 12, 0, Bytes(12, 0x5A)), BootReport(0x80, 32, 12, chunk)}},
        {"verify before programming", {BootReport(0x82, 32, 0, chunk)}},
        {"program after verifying",
         {BootReport(0x80, 32, 0, chunk), BootReport(0x82, 32, 0, chunk),
          BootReport(0x80, 32, 32, chunk)}},
        {"verify of other bytes",
         {BootReport(0x80, 32, 0, chunk), BootReport(0x82, 32, 0, Bytes(32, 0x5B))}},
        {"non-zero padding of a chunk", {padded}},
        {"non-zero padding of the end",
         {BootReport(0x80, 32, 0, chunk), BootReport(0x82, 32, 0, chunk), paddedEnd}},
        {"image not padded to 4",
         {BootReport(0x80, 13, 0, Bytes(13, 0x5A)), BootReport(0x82, 13, 0, Bytes(13, 0x5A)),
          BootReport(0x83, 0x01)}},
        {"end before the whole image is verified",
         {BootReport(0x80, 32, 0, chunk), BootReport(0x80, 32, 32, chunk),
          BootReport(0x82, 32, 0, chunk), BootReport(0x83, 0x01)}},
        {"finish without end",
         {BootReport(0x80, 32, 0, chunk), BootReport(0x82, 32, 0, chunk), BootReport(0x84, 0x01)}},
        {"unknown command", {BootReport(0x85, 0x01)}},
    };
    for (const auto& c : cases) {
        WaitingBootLoader loader(0xFF36);
        ASSERT_TRUE(loader.Send(EraseReport(0x3B6D, 0xFF36)));
        for (size_t i = 0; i + 1 < c.reports.size(); ++i) {
            EXPECT_TRUE(loader.Send(c.reports[i])) << c.breach << " " << i;
        }
        EXPECT_FALSE(loader.Send(c.reports.back())) << c.breach;
        EXPECT_EQ(loader.keyboard->Errors().size(), 1u) << c.breach;
        // Only a new start is taken after a refusal; anything else is a further error.
        EXPECT_FALSE(loader.Send(BootReport(0x83, 0x01))) << c.breach;
        EXPECT_EQ(loader.keyboard->Errors().size(), 2u) << c.breach;
        EXPECT_TRUE(loader.Send(EraseReport(0x3B6D, 0xFF36))) << c.breach;
    }
}

TEST(BootLoader, RefusesTheChunkItIsToldToAndRunsTheFlashedRelease)
{
    WaitingBootLoader loader(0xAF3E, 1);
    const Bytes chunk(32, 0x11);
    ASSERT_TRUE(loader.Send(EraseReport(0x3B6D, 0xAF3E)));
    EXPECT_TRUE(loader.Send(BootReport(0x80, 32, 0, chunk)));
    EXPECT_FALSE(loader.Send(BootReport(0x80, 32, 32, chunk)));
    EXPECT_TRUE(loader.keyboard->Errors().empty()) << "a refusal asked for is no error";

    // Told to refuse none, a whole flash runs and the keyboard comes back with the new release.
    loader.keyboard->RefuseBootChunk(-1);
    ASSERT_TRUE(loader.Send(EraseReport(0x3B6D, 0xAF3E)));
    for (const uint8_t command : {0x80, 0x82}) {
        EXPECT_TRUE(loader.Send(BootReport(command, 32, 0, chunk)));
    }
    EXPECT_TRUE(loader.Send(BootReport(0x83, 0x01)));
    EXPECT_TRUE(loader.Send(BootReport(0x84, 0x01)));
    EXPECT_TRUE(loader.keyboard->Errors().empty());
    loader.keyboard->RestartInto(vkb::VirtualKeyboard::Mode::Running);
    const auto running = loader.backend.Enumerate(0x3B6D, 0xFD70);
    ASSERT_FALSE(running.empty());
    EXPECT_EQ(running.front().releaseNumber, 0x0106);
    EXPECT_EQ(loader.keyboard->ReleaseNumber(), 0x0106);
}

}  // namespace
}  // namespace vkbtest
