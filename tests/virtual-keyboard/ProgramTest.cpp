#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Requests.h"
#include "virtual-keyboard/KeyboardClient.h"

extern char** environ;

namespace vkbtest {
namespace {

using Bytes = std::vector<uint8_t>;

pid_t Spawn(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(VKB_PROGRAM));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, VKB_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int Wait(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(Program, ServesUntilTerminatedThenRemovesItsSockets)
{
    const std::string dir = std::string(std::getenv("HOME")) + "/program";
    const std::string config = dir + "/p-VID_3B6D&PID_FD70&MI_01";
    const pid_t pid = Spawn({"--dir", dir, "--name", "p", "--no-answer=0x03:1"});
    ASSERT_GT(pid, 0);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(config) && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(std::filesystem::exists(config));

    auto client = hid::MakeSocketBackend(dir);
    auto device = client->Open(config);
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(Exchange(*device, Request(0x03), 100).empty());  // the scripted lost answer
    EXPECT_FALSE(Exchange(*device, Request(0x03)).empty());
    const Bytes write = Request(0x09, 3, 3 * 512 + 17 * 3, {0x10, 0x02, 0x04});
    ASSERT_FALSE(Exchange(*device, write).empty());
    const auto state = vkb::QueryState(config);
    ASSERT_TRUE(state.has_value());
    const auto items = vkb::ParseState(*state);
    EXPECT_EQ(items.at("requests"), "3");
    EXPECT_EQ(items.at("request"),
              "005503000000000000 single\n005503000000000000 single\n"
              "005509005203330600 single");
    const auto layer3 = vkb::HexToBytes(items.at("keymap.3"));
    ASSERT_TRUE(layer3.has_value());
    ASSERT_EQ(layer3->size(), 512u);
    EXPECT_EQ(Bytes(layer3->begin() + 51, layer3->begin() + 54), (Bytes{0x10, 0x02, 0x04}));

    EXPECT_EQ(vkb::SendControl(config, "travel 17 256 261"), "ok");
    const Bytes travel = ReadReport(*device, 5000);
    ASSERT_EQ(travel.size(), 65u);
    EXPECT_EQ(travel[1], 0xA0);
    EXPECT_EQ(vkb::SendControl(config, "travel 200 1 1").value_or("").rfind("error:", 0), 0u);

    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_EQ(Wait(pid), 0);
    EXPECT_FALSE(std::filesystem::exists(config));
    uint8_t buffer[65];
    EXPECT_EQ(device->Read(buffer, sizeof buffer, 5000), -1);
}

TEST(Program, RefusesUnknownOptions)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--dir", "/tmp", "--frobnicate=1"},
          std::vector<std::string>{"--dir", "/tmp", "stray"}}) {
        const pid_t pid = Spawn(args);
        ASSERT_GT(pid, 0);
        EXPECT_EQ(Wait(pid), 2);
    }
}

}  // namespace
}  // namespace vkbtest
