// The real program started while the keyboard (a virtual-keyboard process) waits in its boot
// loader: it offers the recovery, and the yes clicked in its message box downloads the package
// from the local HTTPS service, unpacks it and flashes it; the keyboard then runs the flashed
// release and the program connects to it.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "FirmwareImages.h"
#include "HttpsServer.h"
#include "KeyboardClient.h"
#include "app/ChildProgram.h"
#include "app/ProgramStates.h"
#include "platform/os/SingleInstance.h"
#include "platform/text/Utf8.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kTimeout = apptest::kProgramTimeout;

std::string Hex(const updatetest::Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 0x0F]);
    }
    return text;
}

class FirmwareProcessTest : public updatetest::HttpsServerSuite<::testing::Test> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_->Started());
        trust_ = std::make_unique<updatetest::TrustTestCa>(*server_);
        char folder[] = "/tmp/tvfw.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir_ = folder;
    }

    void TearDown() override
    {
        if (program_) {
            os::SendInstanceCommand(apptest::kProgramDeviceName, "exit 610");
            program_->WaitForExit(kTimeout);
            program_.reset();
        }
        if (keyboard_) {
            kill(keyboard_->Pid(), SIGTERM);
            keyboard_->WaitForExit(kTimeout);
            keyboard_.reset();
        }
        trust_.reset();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    void StartProgram()
    {
        program_ = std::make_unique<apptest::ChildProgram>(
            TV_PROGRAM_PATH, std::vector<std::string>{},
            std::vector<std::string>{
                "XDG_DATA_HOME=" + dir_ + "/data", "XDG_CONFIG_HOME=" + dir_ + "/config",
                "TV_STARTUP_REPORT=1", "TV_TEST_ENTRY=1", "ASAN_OPTIONS=detect_leaks=0",
                "QT_QPA_PLATFORM=offscreen", "TOLVENIC_VIRTUAL_KEYBOARD_DIR=" + dir_,
                "TOLVENIC_UPDATE_BASE_URL=" + text::WideToUtf8(server_->Url("files/"))});
    }

    // The state of the keyboard, through whichever of its sockets answers.
    std::map<std::string, std::string> KeyboardState() const
    {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir_, ec)) {
            if (entry.path().filename().string()[0] == '.' || !entry.is_socket()) continue;
            if (const auto dump = vkb::QueryState(entry.path().string())) {
                return vkb::ParseState(*dump);
            }
        }
        return {};
    }

    std::unique_ptr<updatetest::TrustTestCa> trust_;
    std::string dir_;
    std::unique_ptr<apptest::ChildProgram> keyboard_;
    std::unique_ptr<apptest::ChildProgram> program_;
};

TEST_F(FirmwareProcessTest, AKeyboardWaitingInItsBootLoaderAtStartIsRestored)
{
    const updatetest::Bytes image = updatetest::Pattern(4096, 7);
    updatetest::PublishFirmware(*server_, "", "106", image);
    keyboard_ = std::make_unique<apptest::ChildProgram>(
        TV_VIRTUAL_KEYBOARD_PATH, std::vector<std::string>{"--dir", dir_, "--boot"},
        std::vector<std::string>{"ASAN_OPTIONS=detect_leaks=0"});
    ASSERT_TRUE(keyboard_->WaitForLine("ready", kTimeout));
    StartProgram();
    ASSERT_TRUE(apptest::WaitForProgramState(*program_, apptest::kStateNoKeyboard));

    // The offer, and then the outcome, are answered with their first button as they come.
    std::map<std::string, std::string> state;
    const auto end = std::chrono::steady_clock::now() + kTimeout;
    while (std::chrono::steady_clock::now() < end) {
        state = KeyboardState();
        if (state["flashes"] == "1" && state["mode"] == "running") break;
        os::SendInstanceCommand(apptest::kProgramDeviceName, "click MessageBox 33");
        std::this_thread::sleep_for(100ms);
    }
    ASSERT_EQ(state["flashes"], "1");
    EXPECT_EQ(state["boot-image"], Hex(image));
    EXPECT_EQ(state["errors"], "0");
    EXPECT_EQ(state["release-number"], "106");
    // The program finds the keyboard running its new firmware.
    EXPECT_TRUE(apptest::WaitForProgramState(*program_, apptest::kStateLoaded));
}

// An exit asked for while the firmware is written waits for the flash: the keyboard is never
// left in its boot loader by the program's end.
TEST_F(FirmwareProcessTest, AnExitDuringTheFlashWaitsForIt)
{
    const updatetest::Bytes image = updatetest::Pattern(8192, 3);
    updatetest::PublishFirmware(*server_, "", "106", image);
    // Every answer comes late, so the flash lasts a few seconds.
    keyboard_ = std::make_unique<apptest::ChildProgram>(
        TV_VIRTUAL_KEYBOARD_PATH,
        std::vector<std::string>{"--dir", dir_, "--boot", "--delay=15:all"},
        std::vector<std::string>{"ASAN_OPTIONS=detect_leaks=0"});
    ASSERT_TRUE(keyboard_->WaitForLine("ready", kTimeout));
    StartProgram();
    ASSERT_TRUE(apptest::WaitForProgramState(*program_, apptest::kStateNoKeyboard));

    // The offer answered yes; the exit comes once the keyboard's memory is erased.
    const auto end = std::chrono::steady_clock::now() + kTimeout;
    std::map<std::string, std::string> state;
    while (std::chrono::steady_clock::now() < end) {
        state = KeyboardState();
        if (state["boot-image-length"] != "0" && !state["boot-image-length"].empty()) break;
        os::SendInstanceCommand(apptest::kProgramDeviceName, "click MessageBox 33");
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(state["flashes"], "0") << "the flash ended before the exit was asked for";
    // The close button: the user is told why the program stays (a box to answer).
    ASSERT_TRUE(os::SendInstanceCommand(apptest::kProgramDeviceName, "click main 35"));
    std::string seen;
    while (seen.find("asking=1") == std::string::npos && std::chrono::steady_clock::now() < end) {
        os::SendInstanceCommand(apptest::kProgramDeviceName, "profiles");
        seen = program_->WaitForLine("profiles ", 5s).value_or("");
    }
    EXPECT_NE(seen.find("asking=1"), std::string::npos) << seen;
    ASSERT_TRUE(os::SendInstanceCommand(apptest::kProgramDeviceName, "click MessageBox 33"));
    EXPECT_FALSE(program_->WaitForExit(300ms)) << "the close ended the program during the flash";
    // Another process asks the program to end: no box, the exit waits all the same.
    ASSERT_TRUE(os::SendInstanceCommand(apptest::kProgramDeviceName, "exit 610"));
    EXPECT_EQ(program_->WaitForExit(kTimeout), 0);
    program_.reset();
    state = KeyboardState();
    EXPECT_EQ(state["flashes"], "1");
    EXPECT_EQ(state["boot-image"], Hex(image));
    EXPECT_EQ(state["errors"], "0");
}

}  // namespace
