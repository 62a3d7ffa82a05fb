#include <gtest/gtest.h>

#include <numeric>

#include "LinkFixture.h"

namespace fake {
namespace {

uint8_t WireSum(const Bytes& report)
{
    return static_cast<uint8_t>(std::accumulate(report.begin() + 5, report.begin() + 65, 0u));
}

TEST(ReportChecksum, SumsLengthAddressAndData)
{
    const std::vector<uint8_t> full(56, 0xFF);
    const uint8_t one = 0x01;
    struct Case {
        DeviceReport request;
        uint8_t expected;
    };
    const Case cases[] = {
        {DeviceReport::Request(CMD_WRITE_KEY_PERF, 0, full.data(), full.size()), 0x00},
        {DeviceReport::Request(CMD_WRITE_KEY_PERF, 0, &one, 1), 0x02},
        // Address bytes count: 0x0238 -> 0x38 + 0x02, plus length 8.
        {DeviceReport::Request(CMD_READ_KEY_PERF, 0x0238, nullptr, 8), 0x42},
    };
    for (const Case& c : cases) EXPECT_EQ(ReportChecksum(c.request), c.expected);
    // A longer data length is cut to one chunk.
    const std::vector<uint8_t> tooLong(80, 1);
    EXPECT_EQ(DeviceReport::Request(CMD_WRITE_MACROS, 0, tooLong.data(), tooLong.size())[5], 56);
}

TEST_F(LinkTest, BothExchangesPutTheChecksumOfTheWireBytesInByteFour)
{
    Connect();
    const std::vector<uint8_t> data = {1, 2, 3, 250};
    DeviceReport write =
        DeviceReport::Request(CMD_WRITE_SETTINGS, 0x1234, data.data(), data.size());
    ASSERT_TRUE(manager.SendCommand(write));
    DeviceReport read = DeviceReport::Request(CMD_READ_SETTINGS, 0x0100, nullptr, 32);
    ASSERT_TRUE(manager.SendCommandChecked(read));

    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    for (const Bytes& report : sent) {
        ASSERT_EQ(report.size(), 65u);  // the 64-byte checked write was padded
        EXPECT_EQ(report[4], WireSum(report));
        EXPECT_EQ(report[1], 0x55);
    }
    EXPECT_EQ(sent[0][4], static_cast<uint8_t>(4 + 0x34 + 0x12 + 1 + 2 + 3 + 250));
}

TEST_F(LinkTest, NothingIsSentWithoutConnectionOrHandle)
{
    DeviceReport report = DeviceReport::Request(CMD_BEGIN_BATCH);
    EXPECT_FALSE(manager.SendCommand(report));  // never scanned: not connected
    EXPECT_FALSE(manager.SendCommandChecked(report));

    keyboard->opens = false;
    manager.Rescan();  // connected, but nothing listed
    EXPECT_TRUE(manager.IsConnected());
    EXPECT_FALSE(manager.SendCommand(report));
    EXPECT_FALSE(manager.SendCommandChecked(report));
    EXPECT_TRUE(keyboard->Written().empty());
    EXPECT_FALSE(manager.IsBusy());
}

TEST_F(LinkTest, AFailedWriteIsTriedOnceMore)
{
    Connect();
    keyboard->FailNextWrites(1);
    DeviceReport report = DeviceReport::Request(CMD_BEGIN_BATCH);
    EXPECT_TRUE(manager.SendCommand(report));
    EXPECT_EQ(report[0], 0xAA);
    EXPECT_EQ(report[1], CMD_BEGIN_BATCH);

    keyboard->FailNextWrites(2);
    const int attempts = keyboard->WriteAttempts();
    report = DeviceReport::Request(CMD_END_BATCH);
    const auto start = Clock::now();
    EXPECT_FALSE(manager.SendCommand(report));
    EXPECT_EQ(keyboard->WriteAttempts() - attempts, 2);
    EXPECT_LT(MillisecondsSince(start), 200);

    // The checked exchange does not write twice.
    keyboard->FailNextWrites(1);
    report = DeviceReport::Request(CMD_READ_SETTINGS, 0, nullptr, 32);
    EXPECT_FALSE(manager.SendCommandChecked(report));
    EXPECT_EQ(keyboard->WriteAttempts() - attempts, 3);
}

TEST_F(LinkTest, AnUnansweredCommandIsSentOnceMoreAfterTwentyReads)
{
    Connect();
    int writes = 0;
    keyboard->respond = [&writes](const Bytes& request) -> std::vector<Bytes> {
        if (++writes == 1) return {};
        return {Answer(request)};
    };
    DeviceReport report = DeviceReport::Request(CMD_FACTORY_RESET);
    const auto start = Clock::now();
    EXPECT_TRUE(manager.SendCommand(report));
    const long long elapsed = MillisecondsSince(start);
    EXPECT_EQ(writes, 2);
    EXPECT_GE(elapsed, 20 * 30 + 100);  // the reads waited out, then the pause
    EXPECT_LT(elapsed, 20 * 30 + 100 + 2000);

    // Still no answer after the resend: false.
    keyboard->respond = [](const Bytes&) { return std::vector<Bytes>{}; };
    report = DeviceReport::Request(CMD_FACTORY_RESET);
    EXPECT_FALSE(manager.SendCommand(report));
    EXPECT_EQ(report[1], 0x55);  // the caller's request is left as it was
}

TEST_F(LinkTest, ReportsWithoutTheAnswerMarkAreSkipped)
{
    Connect();
    keyboard->respond = [](const Bytes& request) {
        Bytes travel(65, 0);
        travel[1] = 0xA0;  // a live-travel input report comes first
        return std::vector<Bytes>{travel, travel, Answer(request)};
    };
    DeviceReport report = DeviceReport::Request(CMD_CALIBRATION_ON);
    ASSERT_TRUE(manager.SendCommand(report));
    EXPECT_EQ(report[0], 0xAA);
    EXPECT_EQ(report[1], CMD_CALIBRATION_ON);
}

TEST_F(LinkTest, AProfileSwitchReadDuringAnExchangeWaitsForTheNextPoll)
{
    Connect();
    keyboard->respond = [](const Bytes& request) {
        Bytes change(65, 0);
        change[1] = 0xA1;  // the user switched to layer 2, profile 3 on the keyboard
        change[2] = 2;
        change[3] = 3;
        Bytes travel(65, 0);
        travel[1] = 0xA0;
        return std::vector<Bytes>{change, travel, Answer(request)};
    };
    DeviceReport plain = DeviceReport::Request(CMD_CALIBRATION_ON);
    ASSERT_TRUE(manager.SendCommand(plain));
    DeviceReport checked = DeviceReport::Request(CMD_READ_KEY_PERF, 0, nullptr, 56);
    ASSERT_TRUE(manager.SendCommandChecked(checked));
    keyboard->respond = EchoKeyboard();
    DeviceReport polled;
    ASSERT_GT(manager.ReadInputReport(polled, 10), 0);
    EXPECT_EQ(polled[0], 0xA1);
    EXPECT_EQ(polled[1], 2);
    EXPECT_EQ(polled[2], 3);
    EXPECT_EQ(manager.ReadInputReport(polled, 10), 0) << "taken once; the travel was dropped";
}

TEST_F(LinkTest, AForeignAnswerIsTakenBySendCommandButNotByTheCheckedRead)
{
    Connect();
    const Bytes data(56, 0x5A);
    struct Case {
        const char* what;
        Bytes foreign;
    };
    const Case cases[] = {
        {"other command", Answer(CMD_READ_KEYMAP, 56, 0x0038, {9, 9})},
        {"other address", Answer(CMD_READ_KEY_PERF, 56, 0x0070, {9, 9})},
        {"other length", Answer(CMD_READ_KEY_PERF, 16, 0x0038, {9, 9})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        keyboard->respond = [&](const Bytes& request) {
            return std::vector<Bytes>{c.foreign, Answer(request, data)};
        };
        DeviceReport taken = DeviceReport::Request(CMD_READ_KEY_PERF, 0x0038, nullptr, 56);
        ASSERT_TRUE(manager.SendCommand(taken));
        EXPECT_EQ(taken[1], c.foreign[2]);
        EXPECT_EQ(taken[8], 9);
        // Drop the real answer left behind by the first exchange.
        uint8_t drain[65];
        while (manager.GetCurrentHandle()->Read(drain, sizeof drain, 0) > 0) {
        }

        DeviceReport checked = DeviceReport::Request(CMD_READ_KEY_PERF, 0x0038, nullptr, 56);
        ASSERT_TRUE(manager.SendCommandChecked(checked));
        EXPECT_EQ(checked[1], CMD_READ_KEY_PERF);
        EXPECT_EQ(checked[8], 0x5A);
        EXPECT_EQ(checked[63], 0x5A);
        EXPECT_EQ(checked[64], 0);

        // Only foreign answers: refused, and the request stays in the buffer.
        keyboard->respond = [&](const Bytes&) {
            return std::vector<Bytes>{c.foreign, c.foreign, c.foreign};
        };
        DeviceReport refused = DeviceReport::Request(CMD_READ_KEY_PERF, 0x0038, nullptr, 56);
        EXPECT_FALSE(manager.SendCommandChecked(refused));
        EXPECT_EQ(refused[1], 0x55);
        EXPECT_EQ(refused[2], CMD_READ_KEY_PERF);
    }
}

TEST_F(LinkTest, ACheckedReadGivesUpAfterThreeQuietReads)
{
    Connect();
    keyboard->respond = [](const Bytes&) { return std::vector<Bytes>{}; };
    DeviceReport report = DeviceReport::Request(CMD_READ_SETTINGS, 0, nullptr, 32);
    const auto start = Clock::now();
    EXPECT_FALSE(manager.SendCommandChecked(report));
    const long long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 3 * 50);
    EXPECT_LT(elapsed, 3 * 50 + 1500);
    EXPECT_EQ(Sent().size(), 1u);  // no resend
}

TEST_F(LinkTest, InputReportsArriveWithoutTheReportId)
{
    DeviceReport report;
    report[3] = 9;
    EXPECT_EQ(manager.ReadInputReport(report, 10), 0);  // no handle
    EXPECT_EQ(report[3], 0);

    Connect();
    Bytes travel(65, 0);
    travel[1] = 0xA0;
    travel[7] = 0x01;
    keyboard->Queue(travel);
    ASSERT_EQ(manager.ReadInputReport(report, 10), 64);
    EXPECT_EQ(report[0], 0xA0);
    EXPECT_EQ(report[6], 0x01);
    EXPECT_EQ(manager.ReadInputReport(report, 10), 0);
    EXPECT_EQ(report[0], 0);
    keyboard->Vanish();
    EXPECT_EQ(manager.ReadInputReport(report, 10), -1);
}

}  // namespace
}  // namespace fake
