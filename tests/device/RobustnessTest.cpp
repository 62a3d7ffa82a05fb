#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "LinkFixture.h"

namespace fake {
namespace {

// Answers of any shape: any length, report ID mostly 0, the mark mostly right, the echo
// sometimes right, the rest random.
class RandomAnswers {
public:
    explicit RandomAnswers(uint32_t seed) : random_(seed) {}

    std::vector<Bytes> operator()(const Bytes& request)
    {
        std::vector<Bytes> answers(1 + random_() % 3);
        for (Bytes& answer : answers) {
            answer.resize(random_() % 90);
            for (uint8_t& b : answer) b = static_cast<uint8_t>(random_());
            if (answer.size() > 9 && random_() % 8 != 0) {
                answer[0] = 0;
                answer[1] = 0xAA;
                if (random_() % 2 == 0) std::copy_n(request.begin() + 2, 7, answer.begin() + 2);
                if (random_() % 4 == 0) answer[5] = static_cast<uint8_t>(random_() % 70);
            }
        }
        return answers;
    }

private:
    std::mt19937 random_;
};

TEST_F(LinkTest, ArbitraryAnswerBytesNeverBreakTheDecoding)
{
    Connect();
    auto answers = std::make_shared<RandomAnswers>(4103);
    keyboard->respond = [answers](const Bytes& request) { return (*answers)(request); };
    std::mt19937 random(7);
    const auto until = Clock::now() + std::chrono::seconds(2);
    int rounds = 0;
    while (Clock::now() < until) {
        const auto command = static_cast<DeviceCommand>(random());
        const auto address = static_cast<uint16_t>(random());
        switch (random() % 5) {
            case 0: {
                DeviceReport report = DeviceReport::Request(command, address);
                if (manager.SendCommand(report)) {
                    ASSERT_EQ(report[0], 0xAA);
                }
                break;
            }
            case 1: {
                DeviceReport report = DeviceReport::Request(command, address, nullptr, 56);
                const DeviceReport request = report;
                if (manager.SendCommandChecked(report)) {
                    ASSERT_EQ(report[0], 0xAA);
                    ASSERT_EQ(report[1], request[2]);
                    ASSERT_EQ(report[4], request[5]);
                    ASSERT_EQ(report[5], request[6]);
                } else {
                    ASSERT_EQ(report.bytes[1], 0x55);  // the request, untouched but its checksum
                    ASSERT_EQ(report[2], request[2]);
                    for (size_t i = 5; i < REPORT_SIZE; ++i) ASSERT_EQ(report[i], request[i]);
                }
                break;
            }
            case 2: {
                Bytes table(random() % 400);
                manager.ReadTable(command, address, random() % 600, table, random() % 2 == 0);
                break;
            }
            case 3: {
                const std::wstring info = manager.ReadDeviceInfo(manager.GetCurrentHandle());
                ASSERT_LE(info.size(), 57u);
                ASSERT_EQ(info.find(L'\0'), std::wstring::npos);
                break;
            }
            default: {
                const std::wstring version = manager.GetFirmwareVersion();
                ASSERT_TRUE(version == L"0.0" || version.rfind(L"V", 0) == 0) << version;
                break;
            }
        }
        ++rounds;
    }
    EXPECT_GT(rounds, 20);
    EXPECT_FALSE(manager.IsBusy());
}

TEST_F(LinkTest, AKeyboardPulledOutMidTransferFailsEveryCallQuickly)
{
    Connect();
    // Pulled out at the batch's fifth report, whatever the machine's pace (a puller thread on
    // a timer may come only after the whole batch under load).
    auto answer = keyboard->respond;
    int reports = 0;
    keyboard->respond = [this, answer, reports](const Bytes& request) mutable {
        if (++reports == 5) keyboard->Vanish();
        return answer ? answer(request) : std::vector<Bytes>{};
    };
    const Bytes table(1024, 0x11);
    auto start = Clock::now();
    EXPECT_FALSE(manager.WriteTableBatch(CMD_WRITE_KEY_PERF, 0, table));
    EXPECT_LT(MillisecondsSince(start), 1000);
    EXPECT_LT(Sent().size(), 21u);

    start = Clock::now();
    DeviceReport report = DeviceReport::Request(CMD_READ_SETTINGS, 0, nullptr, 32);
    EXPECT_FALSE(manager.SendCommand(report));
    EXPECT_FALSE(manager.SendCommandChecked(report));
    Bytes read(19 * 56, 0xEE);
    EXPECT_FALSE(manager.ReadTableBatch(CMD_READ_KEY_PERF, 0, 1024, read));
    EXPECT_EQ(read[0], 0);
    EXPECT_FALSE(manager.BeginBatch());
    EXPECT_LT(MillisecondsSince(start), 500);

    // The info probe pauses its second on failure, and no longer.
    start = Clock::now();
    EXPECT_EQ(manager.GetFirmwareVersion(), L"0.0");
    EXPECT_LT(MillisecondsSince(start), 2000);
    EXPECT_FALSE(manager.IsBusy());

    // A rescan then finds nothing.
    keyboard->opens = false;
    manager.Rescan();
    EXPECT_EQ(manager.GetCurrentHandle(), nullptr);
}

TEST_F(LinkTest, AReadBlockedOnAVanishingDeviceReturnsAtOnce)
{
    Connect();
    keyboard->respond = [](const Bytes&) { return std::vector<Bytes>{}; };
    std::thread puller([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        keyboard->Vanish();
    });
    const auto start = Clock::now();
    DeviceReport report = DeviceReport::Request(CMD_FACTORY_RESET);
    EXPECT_FALSE(manager.SendCommand(report));  // would take 750 ms unanswered
    puller.join();
    EXPECT_LT(MillisecondsSince(start), 600);
}

}  // namespace
}  // namespace fake
