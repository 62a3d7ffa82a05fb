#include <gtest/gtest.h>

#include "LinkFixture.h"

namespace fake {
namespace {

TEST_F(LinkTest, DeviceInfoTextFollowsTheStatedLength)
{
    Connect();
    hid::HidDevice* handle = manager.GetCurrentHandle();
    struct Case {
        const char* what;
        Bytes answer;
        std::wstring expected;
    };
    Bytes stated61 = InfoAnswer("QX71");
    stated61[5] = 61;
    Bytes stated0 = InfoAnswer("QX71");
    stated0[5] = 0;
    Bytes stated60 = InfoAnswer(std::string(56, 'x'));
    stated60[5] = 60;  // more than one report holds
    Bytes ansi = InfoAnswer("Price \x80 5");
    Bytes withNul = InfoAnswer(std::string("AB\0CD", 5));
    Bytes foreign = InfoAnswer("Q1,Jan  1 2023,");
    foreign[1] = 0x00;  // mark and command are not checked
    foreign[2] = 0x42;
    const Case cases[] = {
        {"plain", InfoAnswer("QX71,Mar 15 2024,1"), L"QX71,Mar 15 2024,1"},
        {"length 61", stated61, L""},
        {"length 0", stated0, L""},
        {"length past the report", stated60, std::wstring(56, L'x')},
        {"code page 1252", ansi, L"Price \u20AC 5"},
        {"stops at NUL", withNul, L"AB"},
        {"foreign mark", foreign, L"Q1,Jan  1 2023,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        keyboard->respond = [&](const Bytes&) { return std::vector<Bytes>{c.answer}; };
        const auto start = Clock::now();
        EXPECT_EQ(manager.ReadDeviceInfo(handle), c.expected);
        EXPECT_LT(MillisecondsSince(start), 500);
    }
    const Bytes request = keyboard->Written().back();
    EXPECT_EQ(request[1], 0x55);
    EXPECT_EQ(request[2], 0x03);
    EXPECT_EQ(request[4], 0);
    EXPECT_FALSE(manager.IsBusy());
}

TEST_F(LinkTest, AFailedInfoReadWaitsASecondAndGivesNothing)
{
    Connect();
    Bytes empty = InfoAnswer("");
    empty[5] = 4;  // data byte [8] is 0
    keyboard->respond = [&](const Bytes&) { return std::vector<Bytes>{empty}; };
    const auto start = Clock::now();
    EXPECT_EQ(manager.ReadDeviceInfo(manager.GetCurrentHandle()), L"");
    const long long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 1000);
    EXPECT_LT(elapsed, 3000);
    EXPECT_EQ(manager.ReadDeviceInfo(nullptr), L"");
}

TEST(ParseMonthName, FirstMonthInCalendarOrderAnywhereInTheText)
{
    const std::pair<const wchar_t*, int> cases[] = {
        {L"Mar 15 2024", 3}, {L"x,Dec  1 2023,Jan", 1}, {L"Sep", 9}, {L"May", 5}, {L"", 1},
        {L"mar 15", 1},      {L"OctNov", 10},
    };
    for (const auto& [text, month] : cases) EXPECT_EQ(ParseMonthName(text), month) << text;
}

TEST_F(LinkTest, FirmwareVersionFromReleaseAndBuildDate)
{
    EXPECT_EQ(manager.GetFirmwareVersion(), L"0.0");  // not connected
    struct Case {
        int release;
        const char* info;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {0x105, "QX71,Mar 15 2024,1", L"V1.05(2024-03-15)"},
        {0x105, "QX71,Mar  5 2024,1", L"V1.05(2024-03-05)"},
        {0x105, "QX71 build", L"V1.05(0000-01-00)"},        // no comma
        {0x105, "QX71,Mar 15 2024", L"V1.05(0000-03-00)"},  // no second comma
        {0x105, "Jan,Oct 31 2025,", L"V1.05(2025-01-31)"},  // month from the whole text
        {0x2A10, "K,Feb 29 2028,", L"V2.10(2028-02-29)"},
        {0x7, "K,Jul  4 1999,", L"V7.7(1999-07-04)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.info);
        keyboard->info.releaseNumber = static_cast<uint16_t>(c.release);
        keyboard->respond = EchoKeyboard(c.info);
        Connect();
        EXPECT_EQ(manager.GetCurrentReleaseNumber(), c.release);
        EXPECT_EQ(manager.GetFirmwareVersion(), c.expected);
    }
    manager.ClearCurrentHandle();
    EXPECT_EQ(manager.GetFirmwareVersion(), L"0.0");
    EXPECT_EQ(manager.GetCurrentReleaseNumber(), 0);
}

}  // namespace
}  // namespace fake
