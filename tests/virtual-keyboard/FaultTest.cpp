#include <chrono>

#include "KeyboardFixture.h"
#include "virtual-keyboard/Fault.h"

namespace vkbtest {
namespace {

using Bytes = std::vector<uint8_t>;
using Kind = vkb::Fault::Kind;

TEST(ParseFault, ReadsEveryForm)
{
    struct Case {
        const char* text;
        Kind kind;
        int command, count, value;
    };
    const Case cases[] = {
        {"no-answer=all", Kind::NoAnswer, -1, -1, 0},
        {"no-answer=0x08:2", Kind::NoAnswer, 0x08, 2, 0},
        {"delay=150", Kind::Delay, -1, -1, 150},
        {"delay=40:0xA0:3", Kind::Delay, 0xA0, 3, 40},
        {"foreign-answer=5", Kind::ForeignAnswer, 5, -1, 0},
        {"fail-write=all:1", Kind::FailWrite, -1, 1, 0},
        {"unplug-after=7", Kind::UnplugAfter, -1, -1, 7},
    };
    for (const auto& c : cases) {
        const auto fault = vkb::ParseFault(c.text);
        ASSERT_TRUE(fault.has_value()) << c.text;
        EXPECT_EQ(fault->kind, c.kind) << c.text;
        EXPECT_EQ(fault->command, c.command) << c.text;
        EXPECT_EQ(fault->count, c.count) << c.text;
        EXPECT_EQ(fault->value, c.value) << c.text;
        EXPECT_EQ(fault->replugMs, -1) << c.text;
    }
    const auto replugged = vkb::ParseFault("unplug-after=2:300");
    ASSERT_TRUE(replugged.has_value());
    EXPECT_EQ(replugged->value, 2);
    EXPECT_EQ(replugged->replugMs, 300);
    for (const char* bad :
         {"no-answer", "no-answer=", "no-answer=0x100", "delay=x", "delay=-5", "fail-write=all:0",
          "unplug-after=2:3:4", "unplug-after=2:x", "sing=1", "no-answer=1:2:3"}) {
        EXPECT_FALSE(vkb::ParseFault(bad).has_value()) << bad;
    }
}

TEST_F(KeyboardFixture, NoAnswerDropsOnlyTheScriptedAnswers)
{
    keyboard->AddFault(*vkb::ParseFault("no-answer=0x08:1"));
    EXPECT_TRUE(Exchange(*config, Request(0x08, 56, 0), 100).empty());
    EXPECT_FALSE(Exchange(*config, Request(0x08, 56, 0)).empty());
    EXPECT_FALSE(Exchange(*config, Request(0x05, 32)).empty());
    // The unanswered request was still received.
    EXPECT_EQ(keyboard->Requests().size(), 3u);
}

TEST_F(KeyboardFixture, DelayedAnswerArrivesLate)
{
    keyboard->AddFault(*vkb::ParseFault("delay=400:0x05"));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_GT(config->Write(Request(0x05, 32).data(), 65), 0);
    EXPECT_TRUE(ReadReport(*config, 20).empty());
    const Bytes answer = ReadReport(*config, 5000);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(answer.size(), 65u);
    EXPECT_EQ(answer[2], 0x05);
    EXPECT_GE(elapsed, std::chrono::milliseconds(400));
}

TEST_F(KeyboardFixture, ForeignAnswerComesBeforeTheRealOne)
{
    keyboard->AddFault(*vkb::ParseFault("foreign-answer=0x08:1"));
    const Bytes first = Exchange(*config, Request(0x08, 56, 112));
    ASSERT_EQ(first.size(), 65u);
    EXPECT_EQ(first[1], 0xAA);
    EXPECT_NE(first[2], 0x08);
    const Bytes second = ReadReport(*config, 1000);
    ASSERT_EQ(second.size(), 65u);
    EXPECT_EQ(second[2], 0x08);
    EXPECT_EQ(second[6], 112);
}

TEST_F(KeyboardFixture, FailedWriteIsNeverSeen)
{
    keyboard->AddFault(*vkb::ParseFault("fail-write=all:1"));
    const Bytes request = Request(0x09, 3, 0, {0x10, 0x00, 0x05});
    EXPECT_EQ(config->Write(request.data(), request.size()), -1);
    EXPECT_TRUE(keyboard->Requests().empty());
    EXPECT_EQ(config->Write(request.data(), request.size()), 65);
    EXPECT_EQ(keyboard->Requests().size(), 1u);
}

TEST_F(KeyboardFixture, RemovalInTheMiddleOfABatch)
{
    keyboard->AddFault(*vkb::ParseFault("unplug-after=2"));
    EXPECT_FALSE(Exchange(*config, Request(0x01)).empty());
    EXPECT_FALSE(Exchange(*config, Request(0x09, 56, 0)).empty());
    const Bytes third = Request(0x09, 56, 56);
    EXPECT_EQ(config->Write(third.data(), third.size()), -1);
    uint8_t buffer[65];
    EXPECT_EQ(config->Read(buffer, sizeof buffer, 100), -1);
    EXPECT_TRUE(backend.Enumerate().empty());
    EXPECT_FALSE(keyboard->Plugged());
    EXPECT_EQ(keyboard->Requests().size(), 2u);
}

TEST_F(KeyboardFixture, ShortReportInterfaceReEnumerates)
{
    keyboard->SetShortReports(true);
    EXPECT_EQ(config->Write(Request(0x03).data(), 65), -1);
    auto shortConfig = OpenInterface(backend, 0xFD70, 1);
    ASSERT_NE(shortConfig, nullptr);
    EXPECT_EQ(shortConfig->InputReportLength(), 64);
    EXPECT_EQ(shortConfig->OutputReportLength(), 64);
}

}  // namespace
}  // namespace vkbtest
