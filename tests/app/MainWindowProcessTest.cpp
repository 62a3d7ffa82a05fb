// The real program against virtual-keyboard processes. The program prints its connection
// state as "state ..." lines when TV_STARTUP_REPORT is set.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "app/ChildProgram.h"
#include "platform/os/SingleInstance.h"
#include "virtual-keyboard/KeyboardClient.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Generous: a sanitized Qt program may start slowly on a loaded machine.
constexpr auto kTimeout = 60s;
// The device name of the program's own config.xml.
constexpr const wchar_t* kDeviceName = L"Tolvenic";

constexpr const char* kLoaded = "opened=1 page=1 tabs=1 panel=0 status=821";
constexpr const char* kNoKeyboard = "found=0 opened=0 page=0 tabs=0 panel=1 status=820";

class MainWindowProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Socket paths must stay short.
        char folder[] = "/tmp/tvkb.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir_ = folder;
    }

    void TearDown() override
    {
        program_.reset();
        StopKeyboard();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    void StartKeyboard(const std::vector<std::string>& faults = {})
    {
        std::vector<std::string> arguments{"--dir", dir_};
        arguments.insert(arguments.end(), faults.begin(), faults.end());
        keyboard_ = std::make_unique<apptest::ChildProgram>(
            TV_VIRTUAL_KEYBOARD_PATH, arguments,
            std::vector<std::string>{"ASAN_OPTIONS=detect_leaks=0"});
        ASSERT_TRUE(keyboard_->WaitForLine("ready", kTimeout));
    }

    // Ends the keyboard as a pulled-out one: its sockets go away.
    void StopKeyboard()
    {
        if (!keyboard_) {
            return;
        }
        kill(keyboard_->Pid(), SIGTERM);
        keyboard_->WaitForExit(kTimeout);
        keyboard_.reset();
    }

    std::unique_ptr<apptest::ChildProgram> StartProgram()
    {
        return std::make_unique<apptest::ChildProgram>(
            TV_PROGRAM_PATH, std::vector<std::string>{},
            std::vector<std::string>{"TV_STARTUP_REPORT=1", "ASAN_OPTIONS=detect_leaks=0",
                                     "QT_QPA_PLATFORM=offscreen",
                                     "TOLVENIC_VIRTUAL_KEYBOARD_DIR=" + dir_});
    }

    // Waits for a state line that contains `state`.
    static bool WaitForState(apptest::ChildProgram& program, const std::string& state)
    {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        while (std::chrono::steady_clock::now() < end) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            const std::optional<std::string> line = program.WaitForLine("state ", left);
            if (!line) {
                return false;
            }
            if (line->find(state) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    // The keyboard's state as its socket in dir_ tells it; empty when it does not answer.
    std::map<std::string, std::string> KeyboardState() const
    {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir_, ec)) {
            if (!entry.is_socket()) continue;
            if (const auto dump = vkb::QueryState(entry.path().string())) {
                return vkb::ParseState(*dump);
            }
        }
        return {};
    }

    std::string dir_;
    std::unique_ptr<apptest::ChildProgram> keyboard_;
    std::unique_ptr<apptest::ChildProgram> program_;
};

TEST_F(MainWindowProcessTest, FollowsTheKeyboardAndEndsOnExit610)
{
    StartKeyboard();
    program_ = StartProgram();
    ASSERT_TRUE(WaitForState(*program_, kLoaded));

    StopKeyboard();
    ASSERT_TRUE(WaitForState(*program_, kNoKeyboard));

    StartKeyboard();
    ASSERT_TRUE(WaitForState(*program_, kLoaded));

    ASSERT_TRUE(os::SendInstanceCommand(kDeviceName, "exit 611"));
    EXPECT_FALSE(program_->WaitForExit(700ms)) << "another code does nothing";
    ASSERT_TRUE(os::SendInstanceCommand(kDeviceName, "exit 610"));
    EXPECT_EQ(program_->WaitForExit(kTimeout), 0);
}

TEST_F(MainWindowProcessTest, ExitDuringABatchEndsTheBatchBeforeTheProcessEnds)
{
    // Every answer comes late, so the first load's batches take long; the exit comes while
    // one is open and must not leave the keyboard inside it.
    StartKeyboard({"--delay=25:all"});
    program_ = StartProgram();
    const auto end = std::chrono::steady_clock::now() + kTimeout;
    while (KeyboardState()["in-batch"] != "1") {
        ASSERT_LT(std::chrono::steady_clock::now(), end) << "no batch began";
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_TRUE(os::SendInstanceCommand(kDeviceName, "exit 610"));
    EXPECT_EQ(program_->WaitForExit(kTimeout), 0);
    std::map<std::string, std::string> state = KeyboardState();
    EXPECT_EQ(state["in-batch"], "0");
    EXPECT_NE(state["batches-begun"], "0");
    EXPECT_EQ(state["batches-ended"], state["batches-begun"]) << state["request"];
}

TEST_F(MainWindowProcessTest, SecondStartRaisesTheFirstAndEndsWithZero)
{
    program_ = StartProgram();
    ASSERT_TRUE(WaitForState(*program_, kNoKeyboard));
    auto second = StartProgram();
    EXPECT_EQ(second->WaitForExit(kTimeout), 0);
    EXPECT_FALSE(second->WaitForLine("state ", 0ms)) << "the second one never started up";
    EXPECT_FALSE(program_->WaitForExit(300ms)) << "the first one goes on";
    ASSERT_TRUE(os::SendInstanceCommand(kDeviceName, "exit 610"));
    EXPECT_EQ(program_->WaitForExit(kTimeout), 0);
}

}  // namespace
