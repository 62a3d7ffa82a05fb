#include <string>

#include "KeyboardFixture.h"

namespace vkbtest {
namespace {

using Bytes = std::vector<uint8_t>;

// Answer bytes as they come through the seam: report ID first, then the delivered bytes.
void ExpectEcho(const Bytes& answer, const Bytes& request)
{
    ASSERT_EQ(answer.size(), 65u);
    EXPECT_EQ(answer[0], 0x00);
    EXPECT_EQ(answer[1], 0xAA);
    EXPECT_EQ(answer[2], request[2]);
    EXPECT_EQ(answer[5], request[5]);
    EXPECT_EQ(answer[6], request[6]);
    EXPECT_EQ(answer[7], request[7]);
    EXPECT_EQ(answer[8], 0x00);
}

TEST_F(KeyboardFixture, ShowsItsInterfacesWithTheModelsIds)
{
    const auto interfaces = backend.Enumerate();
    ASSERT_EQ(interfaces.size(), 4u);
    int configCount = 0;
    for (const auto& info : interfaces) {
        EXPECT_EQ(info.vendorId, 0x3B6D);
        auto device = backend.Open(info.path);
        ASSERT_NE(device, nullptr);
        if (info.productId == 0xFD70 && info.interfaceNumber == 1) {
            ++configCount;
            EXPECT_EQ(info.releaseNumber, 0x0105);
            EXPECT_EQ(info.productString, L"Morvessa Keyboard");
            EXPECT_EQ(device->InputReportLength(), 65);
            EXPECT_EQ(device->OutputReportLength(), 65);
        } else if (info.productId == 0xFD70 && info.interfaceNumber == 2) {
            EXPECT_EQ(device->InputReportLength(), 64);
            EXPECT_EQ(device->OutputReportLength(), 64);
        }
    }
    EXPECT_EQ(configCount, 1);
    EXPECT_EQ(backend.Enumerate(0x3B6D, 0x9053).size(), 1u);
    EXPECT_TRUE(backend.Enumerate(0x1234, 0).empty());
}

TEST_F(KeyboardFixture, AnswersTheDeviceInfoProbe)
{
    Bytes probe(65, 0);
    probe[1] = 0x55;
    probe[2] = 0x03;
    const Bytes answer = Exchange(*config, probe);
    ASSERT_EQ(answer.size(), 65u);
    EXPECT_EQ(answer[1], 0xAA);
    EXPECT_EQ(answer[2], 0x03);
    const size_t length = answer[5] | answer[6] << 8;
    ASSERT_GT(length, 0u);
    ASSERT_LE(length, 56u);
    const std::string text(answer.begin() + 9, answer.begin() + 9 + static_cast<long>(length));
    EXPECT_EQ(text, keyboard->Options().infoText);
    // The date field, after the first comma, reads as "Mmm dd yyyy".
    const std::string date = text.substr(text.find(',') + 1, 11);
    EXPECT_EQ(date, "Mar 15 2024");
}

TEST_F(KeyboardFixture, TakesOnlyRequestsWhoseChecksumAddsUp)
{
    // The request sum rule: (56 + 56 x 255) mod 256 = 0 and (1 + 1) = 2.
    const Bytes full = Request(0x09, 56, 0, Bytes(56, 0xFF));
    EXPECT_EQ(full[4], 0x00);
    EXPECT_EQ(Request(0x09, 1, 0, {0x01})[4], 0x02);
    ExpectEcho(Exchange(*config, full), full);
    EXPECT_EQ(keyboard->KeyEntry(0, 0), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));

    Bytes bad = Request(0x09, 1, 512, {0x42});
    bad[4] ^= 0x01;
    EXPECT_TRUE(Exchange(*config, bad, 100).empty());
    EXPECT_EQ(keyboard->KeyEntry(1, 0)[0], 0x00);
    ASSERT_EQ(keyboard->Errors().size(), 1u);
    EXPECT_NE(keyboard->Errors()[0].find("checksum"), std::string::npos);
    EXPECT_FALSE(keyboard->Requests().back().checksumOk);
}

TEST_F(KeyboardFixture, ReadsADefaultLayerInChunksAtLayerAddresses)
{
    Bytes table;
    for (uint16_t chunk = 0; chunk < 10; ++chunk) {
        const uint8_t length = chunk < 9 ? 56 : 8;
        const Bytes request = Request(0x07, length, static_cast<uint16_t>(512 + chunk * 56));
        const Bytes answer = Exchange(*config, request);
        ExpectEcho(answer, request);
        table.insert(table.end(), answer.begin() + 9, answer.begin() + 9 + length);
        // Bytes past the chunk's length stay zero.
        for (size_t i = 9 + length; i < 65; ++i) ASSERT_EQ(answer[i], 0) << "chunk " << chunk;
    }
    ASSERT_EQ(table.size(), 512u);
    for (size_t key = 0; key < 128; ++key) {
        const auto expected = vkb::DefaultKeyEntry(1, key);
        EXPECT_EQ(Bytes(table.begin() + key * 3, table.begin() + key * 3 + 3),
                  Bytes(expected.begin(), expected.end()))
            << "key " << key;
    }
    // FN1 puts mute (consumer usage 0xE2) on F10 at index 10.
    EXPECT_EQ(Bytes(table.begin() + 30, table.begin() + 33), (Bytes{0x30, 0xE2, 0x00}));
    EXPECT_TRUE(keyboard->Errors().empty());
}

TEST_F(KeyboardFixture, BatchWriteLandsInTheLayersTable)
{
    Bytes layer(560, 0);
    layer[17 * 3] = 0x10;
    layer[17 * 3 + 1] = 0x02;
    layer[17 * 3 + 2] = 0x04;
    const Bytes layer0Before = [&] {
        const auto memory = keyboard->Memory();
        return Bytes(memory.keymaps.begin(), memory.keymaps.begin() + 512);
    }();

    ExpectEcho(Exchange(*config, Request(0x01)), Request(0x01));
    for (uint16_t chunk = 0; chunk < 10; ++chunk) {
        const uint8_t length = chunk < 9 ? 56 : 8;
        const Bytes data(layer.begin() + chunk * 56, layer.begin() + chunk * 56 + length);
        const Bytes request =
            Request(0x09, length, static_cast<uint16_t>(3 * 512 + chunk * 56), data);
        ExpectEcho(Exchange(*config, request), request);
    }
    ExpectEcho(Exchange(*config, Request(0x02)), Request(0x02));

    EXPECT_EQ(keyboard->KeyEntry(3, 17), (std::array<uint8_t, 3>{0x10, 0x02, 0x04}));
    EXPECT_EQ(keyboard->KeyEntry(3, 16), (std::array<uint8_t, 3>{0, 0, 0}));
    const auto memory = keyboard->Memory();
    EXPECT_EQ(Bytes(memory.keymaps.begin(), memory.keymaps.begin() + 512), layer0Before);
    const auto requests = keyboard->Requests();
    ASSERT_EQ(requests.size(), 12u);
    EXPECT_FALSE(requests.front().inBatch);
    for (size_t i = 1; i < 11; ++i) {
        EXPECT_TRUE(requests[i].inBatch);
        EXPECT_EQ(requests[i].Address(), 3 * 512 + (i - 1) * 56);
    }
    EXPECT_EQ(keyboard->BatchesBegun(), 1);
    EXPECT_EQ(keyboard->BatchesEnded(), 1);
    EXPECT_FALSE(keyboard->InBatch());
}

TEST_F(KeyboardFixture, EveryTableCommandReachesItsOwnTable)
{
    using Table = std::vector<uint8_t> vkb::KeyboardMemory::*;
    struct Case {
        uint8_t write;  // 0: the table has no write command
        uint8_t read;   // 0: the table has no read command
        Table table;
        size_t size;
    };
    const Case cases[] = {
        {0x06, 0x05, &vkb::KeyboardMemory::settings, 32},
        {0x09, 0x08, &vkb::KeyboardMemory::keymaps, 4096},
        {0x0B, 0x0A, &vkb::KeyboardMemory::userColors, 384},
        {0x0D, 0, &vkb::KeyboardMemory::macros, 3584},
        {0xA1, 0xA0, &vkb::KeyboardMemory::keyPerf, 1024},
        {0xA3, 0, &vkb::KeyboardMemory::dksTable, 768},
        {0xA5, 0, &vkb::KeyboardMemory::pairTable, 256},
        {0xA7, 0, &vkb::KeyboardMemory::toggleTable, 128},
        {0xDD, 0xDE, &vkb::KeyboardMemory::liveColors, 384},
        {0, 0x07, &vkb::KeyboardMemory::defaultKeymaps, 4096},
    };
    const Bytes pattern{0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8};
    for (const auto& c : cases) {
        const auto before = keyboard->Memory();
        const auto address = static_cast<uint16_t>(c.size - pattern.size());  // the very end
        ASSERT_EQ((before.*c.table).size(), c.size);
        if (c.write != 0) {
            ASSERT_FALSE(Exchange(*config, Request(c.write, 8, address, pattern)).empty());
            auto expected = before;
            std::copy(pattern.begin(), pattern.end(), (expected.*c.table).begin() + address);
            const auto after = keyboard->Memory();
            for (Table other :
                 {&vkb::KeyboardMemory::settings, &vkb::KeyboardMemory::keymaps,
                  &vkb::KeyboardMemory::userColors, &vkb::KeyboardMemory::macros,
                  &vkb::KeyboardMemory::keyPerf, &vkb::KeyboardMemory::dksTable,
                  &vkb::KeyboardMemory::pairTable, &vkb::KeyboardMemory::toggleTable,
                  &vkb::KeyboardMemory::liveColors, &vkb::KeyboardMemory::defaultKeymaps}) {
                EXPECT_EQ(after.*other, expected.*other) << "command " << int(c.write);
            }
        }
        if (c.read != 0) {
            keyboard->ModifyMemory([&](vkb::KeyboardMemory& m) {
                std::copy(pattern.rbegin(), pattern.rend(), (m.*c.table).begin() + address);
            });
            const Bytes answer = Exchange(*config, Request(c.read, 8, address));
            ASSERT_EQ(answer.size(), 65u);
            EXPECT_EQ(Bytes(answer.begin() + 9, answer.begin() + 17),
                      Bytes(pattern.rbegin(), pattern.rend()))
                << "command " << int(c.read);
        }
    }
    EXPECT_TRUE(keyboard->Errors().empty());
}

TEST_F(KeyboardFixture, KeyPerformanceIsOneTableForEveryDeviceProfile)
{
    // The factory actuation is 150 steps, sent as 149.
    const Bytes answer = Exchange(*config, Request(0xA0, 56, 2 * 1024));
    ASSERT_EQ(answer.size(), 65u);
    EXPECT_EQ(answer[9], 0xA1);
    EXPECT_EQ(answer[11], 149);

    // Written at 0, read back at device profile 3's address.
    const Bytes perf{0xA3, 0x01, 0xFF, 0x00, 0xFF, 0x07, 0x1D, 0x00};
    Bytes data(56, 0);
    std::copy(perf.begin(), perf.end(), data.begin() + 8);  // key index 1
    ExpectEcho(Exchange(*config, Request(0xA1, 56, 0, data)), Request(0xA1, 56, 0, data));
    const auto stored = keyboard->KeyPerf(1);
    EXPECT_EQ(Bytes(stored.begin(), stored.end()), perf);
    const Bytes again = Exchange(*config, Request(0xA0, 56, 3 * 1024));
    ASSERT_EQ(again.size(), 65u);
    EXPECT_EQ(Bytes(again.begin() + 17, again.begin() + 25), perf);
}

TEST_F(KeyboardFixture, SettingsBlockReadsAndWritesWhole)
{
    const Bytes factory = keyboard->Settings();
    const Bytes answer = Exchange(*config, Request(0x05, 32));
    ASSERT_EQ(answer.size(), 65u);
    EXPECT_EQ(Bytes(answer.begin() + 9, answer.begin() + 41), factory);

    Bytes changed = factory;
    changed[8] = 0x07;
    changed[10] = 0x00;
    ExpectEcho(Exchange(*config, Request(0x06, 32, 0, changed)), Request(0x06, 32, 0, changed));
    EXPECT_EQ(keyboard->Settings(), changed);
}

TEST_F(KeyboardFixture, ReportsRequestsOutsideItsTablesAndUnknownCommands)
{
    const Bytes before = keyboard->Memory().keymaps;
    const Bytes outside = Request(0x09, 56, 4090, Bytes(56, 0x33));
    ExpectEcho(Exchange(*config, outside), outside);
    EXPECT_EQ(keyboard->Memory().keymaps, before);

    const Bytes unknown = Request(0x77);
    ExpectEcho(Exchange(*config, unknown), unknown);

    const Bytes tooLong = Request(0x0B, 57, 0);
    ExpectEcho(Exchange(*config, tooLong), tooLong);
    EXPECT_EQ(keyboard->Errors().size(), 3u);
}

TEST_F(KeyboardFixture, FactoryResetAndCalibrationSwitch)
{
    ASSERT_FALSE(Exchange(*config, Request(0x09, 3, 17 * 3, {0x10, 0x00, 0x05})).empty());
    ASSERT_FALSE(Exchange(*config, Request(0xA8)).empty());
    EXPECT_TRUE(keyboard->Calibrating());
    ASSERT_FALSE(Exchange(*config, Request(0xA9)).empty());
    EXPECT_FALSE(keyboard->Calibrating());

    ExpectEcho(Exchange(*config, Request(0xEE)), Request(0xEE));
    EXPECT_EQ(keyboard->FactoryResets(), 1);
    EXPECT_EQ(keyboard->KeyEntry(0, 17), vkb::DefaultKeyEntry(0, 17));
}

TEST_F(KeyboardFixture, OtherInterfacesDoNotSpeakTheProtocol)
{
    auto keys = OpenInterface(backend, 0xFD70, 0);
    ASSERT_NE(keys, nullptr);
    EXPECT_TRUE(Exchange(*keys, Request(0x03), 100).empty());
    EXPECT_TRUE(ReadReport(*config, 0).empty());
    EXPECT_EQ(keyboard->Errors().size(), 1u);
}

}  // namespace
}  // namespace vkbtest
