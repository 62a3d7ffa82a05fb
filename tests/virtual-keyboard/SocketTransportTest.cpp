#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "MonitorEvents.h"
#include "Requests.h"
#include "platform/hid/SocketWire.h"
#include "virtual-keyboard/ControlCommand.h"
#include "virtual-keyboard/SocketServer.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace vkbtest {
namespace {

using Bytes = std::vector<uint8_t>;
namespace wire = hid::wire;

class SocketTransport : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::remove_all(dir);
        server.SetStateHandler([this] { return keyboard->DumpState(); });
        server.SetControlHandler(
            [this](const std::string& line) { return vkb::RunControlCommand(*keyboard, line); });
        ASSERT_TRUE(server.Start());
        client = hid::MakeSocketBackend(dir);
    }
    void TearDown() override { server.Stop(); }

    std::string ConfigSocket() const { return dir + "/kb-VID_3B6D&PID_FD70&MI_01"; }

    const std::string dir = std::string(std::getenv("HOME")) + "/sockets";
    std::shared_ptr<vkb::VirtualKeyboard> keyboard = std::make_shared<vkb::VirtualKeyboard>();
    vkb::SocketServer server{keyboard, dir, "kb"};
    std::unique_ptr<hid::HidBackend> client;
};

TEST_F(SocketTransport, EnumeratesEverySocketWithItsInterface)
{
    const auto interfaces = client->Enumerate();
    ASSERT_EQ(interfaces.size(), 4u);
    const auto config = *std::find_if(interfaces.begin(), interfaces.end(), [](const auto& i) {
        return i.productId == 0xFD70 && i.interfaceNumber == 1;
    });
    EXPECT_EQ(config.path, ConfigSocket());
    EXPECT_EQ(config.vendorId, 0x3B6D);
    EXPECT_EQ(config.productId, 0xFD70);
    EXPECT_EQ(config.releaseNumber, 0x0105);
    EXPECT_EQ(config.productString, L"Morvessa Keyboard");
    EXPECT_EQ(config.usagePage, 0xFF60);
    EXPECT_EQ(config.interfaceNumber, 1);
    EXPECT_EQ(client->Enumerate(0x3B6D, 0x9053).size(), 1u);
    EXPECT_TRUE(client->Enumerate(0x3B6D, 0x1111).empty());
}

TEST_F(SocketTransport, ExchangesReportsAndUnaskedReports)
{
    auto device = client->Open(ConfigSocket());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->InputReportLength(), 65);
    EXPECT_EQ(device->OutputReportLength(), 65);

    // A short write is padded to the 65-byte report, so the checksum still holds.
    Bytes request = Request(0x09, 3, 3 * 512 + 17 * 3, {0x10, 0x00, 0x04});
    const Bytes answer = Exchange(*device, Bytes(request.begin(), request.begin() + 12));
    ASSERT_EQ(answer.size(), 65u);
    EXPECT_EQ(answer[1], 0xAA);
    EXPECT_EQ(answer[2], 0x09);
    EXPECT_EQ(keyboard->KeyEntry(3, 17), (std::array<uint8_t, 3>{0x10, 0x00, 0x04}));

    vkb::TravelReport travel;
    travel.keyIndex = 17;
    travel.reading = 0x0100;
    ASSERT_TRUE(keyboard->SendTravel(travel));
    const Bytes report = ReadReport(*device, 2000);
    ASSERT_EQ(report.size(), 65u);
    EXPECT_EQ(report[1], 0xA0);
    EXPECT_EQ(report[7], 0x01);
    EXPECT_TRUE(ReadReport(*device, 20).empty());

    keyboard->AddFault(*vkb::ParseFault("fail-write=all:1"));
    EXPECT_EQ(device->Write(request.data(), request.size()), -1);
    EXPECT_FALSE(Exchange(*device, request).empty());
}

TEST_F(SocketTransport, StateAndControlRequests)
{
    const auto state = wire::Transact(ConfigSocket(), wire::kState, nullptr, 0, 2000);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->type, wire::kStateReply);
    const std::string text(state->payload.begin(), state->payload.end());
    // Layer 0 starts with Esc: kind 0x10, no modifier, usage 0x29.
    EXPECT_NE(text.find("\nkeymap.0 100029"), std::string::npos);
    EXPECT_EQ(text.rfind("mode running\n", 0), 0u);

    auto device = client->Open(ConfigSocket());
    ASSERT_NE(device, nullptr);
    const std::string command = "profile-switch 1 2";
    const auto ok =
        wire::Transact(ConfigSocket(), wire::kControl, command.data(), command.size(), 2000);
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(std::string(ok->payload.begin(), ok->payload.end()), "ok");
    const Bytes report = ReadReport(*device, 2000);
    ASSERT_GE(report.size(), 4u);
    EXPECT_EQ(Bytes(report.begin(), report.begin() + 4), (Bytes{0x00, 0xA1, 0x01, 0x02}));

    const std::string bad = "profile-switch 1";
    const auto refused =
        wire::Transact(ConfigSocket(), wire::kControl, bad.data(), bad.size(), 2000);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(std::string(refused->payload.begin(), refused->payload.begin() + 6), "error:");
}

TEST_F(SocketTransport, FailedHandlesEndWhileTheInterfacesStay)
{
    auto device = client->Open(ConfigSocket());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(vkb::RunControlCommand(*keyboard, "fail-handles"), "ok");
    Bytes report(65, 0);
    EXPECT_EQ(device->Read(report.data(), report.size(), 30000), -1);
    EXPECT_EQ(device->Write(report.data(), report.size()), -1);
    EXPECT_EQ(client->Enumerate().size(), 4u) << "no interface goes away";
    auto again = client->Open(ConfigSocket());
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(Exchange(*again, Request(0x03)).empty());
}

TEST_F(SocketTransport, RefusedOpensAreToldAsDeniedAndOpenHandlesStay)
{
    auto open = client->Open(ConfigSocket());
    ASSERT_NE(open, nullptr);
    keyboard->SetRefuseOpen(true);
    EXPECT_EQ(client->Open(ConfigSocket()), nullptr);
    EXPECT_TRUE(client->LastOpenDenied());
    EXPECT_EQ(client->Enumerate().size(), 4u) << "the interfaces stay listed";
    EXPECT_FALSE(Exchange(*open, Request(0x03)).empty());
    keyboard->SetRefuseOpen(false);
    EXPECT_NE(client->Open(ConfigSocket()), nullptr);
    EXPECT_FALSE(client->LastOpenDenied());
    EXPECT_EQ(client->Open(dir + "/kb-gone"), nullptr);
    EXPECT_FALSE(client->LastOpenDenied()) << "a missing socket is no refusal";
}

TEST_F(SocketTransport, MonitorSeesRemovalAndArrival)
{
    auto device = client->Open(ConfigSocket());
    ASSERT_NE(device, nullptr);
    Events events;
    auto monitor = hid::MakeSocketMonitor(dir);
    ASSERT_TRUE(monitor->Start(events.Callback()));

    keyboard->UnplugFor(300);
    ASSERT_TRUE(events.WaitFor(0, 4));
    uint8_t buffer[65];
    EXPECT_EQ(device->Read(buffer, sizeof buffer, 2000), -1);
    EXPECT_EQ(device->Write(buffer, sizeof buffer), -1);
    ASSERT_TRUE(events.WaitFor(4, 4));
    const std::wstring name = hid::MakeInterfaceName(0x3B6D, 0xFD70, 1, ConfigSocket());
    EXPECT_TRUE(events.Holds(false, name));
    EXPECT_TRUE(events.Holds(true, name));
    EXPECT_EQ(hid::InterfacePath(name), ConfigSocket());
    EXPECT_NE(client->Open(ConfigSocket()), nullptr);

    server.Stop();
    ASSERT_TRUE(events.WaitFor(4, 8));
    monitor->Stop();
    EXPECT_TRUE(client->Enumerate().empty());
    EXPECT_EQ(client->Open(ConfigSocket()), nullptr);
}

TEST_F(SocketTransport, RestartIntoTheBootLoaderReplacesTheSockets)
{
    Events events;
    auto monitor = hid::MakeSocketMonitor(dir);
    ASSERT_TRUE(monitor->Start(events.Callback()));
    auto entry = client->Open(dir + "/kb-VID_3B6D&PID_9053&MI_03");
    ASSERT_NE(entry, nullptr);
    Bytes enter(1024, 0);
    enter[1] = 0x5F;
    enter[2] = 0x06;
    enter[5] = 0x01;
    enter[9] = 0x51;
    ASSERT_GT(entry->Write(enter.data(), enter.size()), 0);

    ASSERT_TRUE(events.WaitFor(1, 4));
    const std::string bootSocket = dir + "/kb-VID_3B6D&PID_AF3E&MI_00";
    EXPECT_TRUE(events.Holds(true, hid::MakeInterfaceName(0x3B6D, 0xAF3E, 0, bootSocket)));
    const auto interfaces = client->Enumerate();
    ASSERT_EQ(interfaces.size(), 1u);
    EXPECT_EQ(interfaces[0].usagePage, 0xFF00);
    EXPECT_EQ(interfaces[0].usage, 0x01);
    monitor->Stop();
}

TEST_F(SocketTransport, SkipsWhatIsNotAServedSocket)
{
    std::ofstream(dir + "/plain-file") << "not a socket";
    // A socket that is bound but never listens refuses connections.
    const std::string dead = dir + "/dead-VID_3B6D&PID_FD70&MI_01";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, dead.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(client->Enumerate().size(), 4u);
    EXPECT_EQ(client->Open(dead), nullptr);
    EXPECT_EQ(client->Open(dir + "/plain-file"), nullptr);
    EXPECT_EQ(client->Open(dir + "/missing"), nullptr);
    ::close(fd);
    ::unlink(dead.c_str());
}

TEST_F(SocketTransport, ServerSurvivesMisbehavingClients)
{
    const int fd = wire::ConnectSocket(ConfigSocket());
    ASSERT_GE(fd, 0);
    wire::MessageReader reader;
    ASSERT_TRUE(wire::SendMessage(fd, 0x42, nullptr, 0));
    auto reply = wire::ReceiveMessage(fd, reader, 2000);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->type, wire::kError);
    // Writing without opening fails.
    const Bytes request = Request(0x03);
    ASSERT_TRUE(wire::SendMessage(fd, wire::kWrite, request.data(), request.size()));
    reply = wire::ReceiveMessage(fd, reader, 2000);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->type, wire::kWritten);
    EXPECT_EQ(reply->payload, (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    // A broken header ends the connection.
    const uint8_t garbage[8] = {0x03, 0x07, 0x07, 0x07, 0, 0, 0, 0};
    ASSERT_EQ(::send(fd, garbage, sizeof garbage, MSG_NOSIGNAL), 8);
    pollfd ready{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&ready, 1, 5000), 1);
    uint8_t byte = 0;
    EXPECT_EQ(::recv(fd, &byte, 1, 0), 0);  // closed by the server, not merely silent
    ::close(fd);
    EXPECT_EQ(client->Enumerate().size(), 4u);
    EXPECT_TRUE(keyboard->Requests().empty());
}

TEST(SocketWire, ReaderSplitsMessagesAndRefusesBadHeaders)
{
    const Bytes one = wire::EncodeMessage(wire::kWrite, "\x01\x02", 2);
    const Bytes two = wire::EncodeMessage(wire::kInfo, nullptr, 0);
    Bytes stream = one;
    stream.insert(stream.end(), two.begin(), two.end());
    wire::MessageReader reader;
    reader.Feed(stream.data(), 5);  // a header cut in the middle
    EXPECT_FALSE(reader.Next().has_value());
    reader.Feed(stream.data() + 5, stream.size() - 5);
    const auto first = reader.Next();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->type, wire::kWrite);
    EXPECT_EQ(first->payload, (Bytes{0x01, 0x02}));
    const auto second = reader.Next();
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->type, wire::kInfo);
    EXPECT_TRUE(second->payload.empty());

    for (const Bytes& bad :
         {Bytes{0x03, 0x01, 0, 0, 0, 0, 0, 0}, Bytes{0x03, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}}) {
        wire::MessageReader broken;
        broken.Feed(bad.data(), bad.size());
        EXPECT_FALSE(broken.Next().has_value());
        EXPECT_TRUE(broken.Broken());
    }
    EXPECT_FALSE(wire::DecodeDescription(Bytes(15, 0)).has_value());
}

}  // namespace
}  // namespace vkbtest
