// The real program on a fresh data folder against a virtual-keyboard process, driven by clicks
// on its controls (the program's scripted-input entry): every key-page change and every profile
// change ends in the keyboard's key tables.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "KeyboardClient.h"
#include "KeyboardMemory.h"
#include "app/ChildProgram.h"
#include "app/ProgramStates.h"
#include "platform/os/SingleInstance.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kTimeout = apptest::kProgramTimeout;
constexpr const wchar_t* kDeviceName = apptest::kProgramDeviceName;
constexpr const char* kLoaded = apptest::kStateLoaded;
constexpr const char* kNoKeyboard = apptest::kStateNoKeyboard;

// Key usages of the factory layout.
constexpr int kKeyA = 0x04;
constexpr int kKeyQ = 0x14;
constexpr int kKeyF10 = 0x43;
// Palette: the media tab and two of its tiles.
constexpr int kMediaTab = 1;
constexpr int kVolumeUp = 0xE9;
constexpr int kPlay = 0xCD;
// Controls of the key page.
constexpr const char* kKeys = "click main 82 ";
constexpr const char* kTabs = "click main 97 ";
constexpr const char* kTiles = "click main 99 ";
constexpr const char* kLayers = "click main 95 ";
constexpr const char* kResetKey = "click main 91";
constexpr const char* kResetLayer = "click main 92";
constexpr const char* kProfileMenu = "click main 88";
// Controls of the performance page.
constexpr const char* kPerfSelectAll = "click main 327";
constexpr const char* kPerfRapidTrigger = "click main 297";
constexpr const char* kFirstProfiles =
    "active=1 current=1 selected=0 items=1:Profile 1|2:Profile 2|3:Profile 3 waiting=0";

int KeyIndex(int usage)
{
    for (size_t i = 0; i < vkb::kKeyCount; ++i) {
        if (vkb::DefaultKeyUsage(i) == usage) return static_cast<int>(i);
    }
    ADD_FAILURE() << "no key " << usage;
    return 0;
}

class ProfilesProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char folder[] = "/tmp/tvpr.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir_ = folder;
        keyboard_ = std::make_unique<apptest::ChildProgram>(
            TV_VIRTUAL_KEYBOARD_PATH, std::vector<std::string>{"--dir", dir_},
            std::vector<std::string>{"ASAN_OPTIONS=detect_leaks=0"});
        ASSERT_TRUE(keyboard_->WaitForLine("ready", kTimeout));
        for (const auto& entry : fs::directory_iterator(dir_)) {
            if (entry.path().filename().string().ends_with("MI_01")) socket_ = entry.path();
        }
        ASSERT_FALSE(socket_.empty());
        program_ = std::make_unique<apptest::ChildProgram>(
            TV_PROGRAM_PATH, std::vector<std::string>{},
            // A fresh data folder for every test, also when one process runs several.
            std::vector<std::string>{
                "XDG_DATA_HOME=" + dir_ + "/data", "XDG_CONFIG_HOME=" + dir_ + "/config",
                "TV_STARTUP_REPORT=1", "TV_TEST_ENTRY=1", "ASAN_OPTIONS=detect_leaks=0",
                "QT_QPA_PLATFORM=offscreen", "TOLVENIC_VIRTUAL_KEYBOARD_DIR=" + dir_});
        ASSERT_TRUE(WaitForState(kLoaded));
    }

    void TearDown() override
    {
        if (program_) {
            os::SendInstanceCommand(kDeviceName, "exit 610");
            program_->WaitForExit(kTimeout);
            program_.reset();
        }
        if (keyboard_) {
            kill(keyboard_->Pid(), SIGTERM);
            keyboard_->WaitForExit(kTimeout);
            keyboard_.reset();
        }
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    static void Send(const std::string& command)
    {
        ASSERT_TRUE(os::SendInstanceCommand(kDeviceName, command)) << command;
    }

    bool WaitForState(const std::string& state)
    {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        while (std::chrono::steady_clock::now() < end) {
            const auto line = program_->WaitForLine("state ", 1s);
            if (line && line->find(state) != std::string::npos) return true;
        }
        return false;
    }

    std::map<std::string, std::string> KeyboardState() const
    {
        const std::optional<std::string> dump = vkb::QueryState(socket_);
        return dump ? vkb::ParseState(*dump) : std::map<std::string, std::string>{};
    }

    // The 3 bytes of the key on the layer as the keyboard holds them, as hexadecimal.
    std::string KeyBytes(int layer, int usage) const
    {
        const std::string table = KeyboardState()["keymap." + std::to_string(layer)];
        const size_t at = static_cast<size_t>(KeyIndex(usage)) * 6;
        return table.size() >= at + 6 ? table.substr(at, 6) : std::string("missing");
    }

    // Waits until the keyboard holds `bytes` for the key; the last bytes seen.
    std::string WaitForKey(int layer, int usage, const std::string& bytes) const
    {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        std::string seen;
        while (std::chrono::steady_clock::now() < end) {
            seen = KeyBytes(layer, usage);
            if (seen == bytes) break;
            std::this_thread::sleep_for(20ms);
        }
        return seen;
    }

    // The profile list's report once it contains `expected` (or the last one at the time-out).
    std::string WaitForProfiles(const std::string& expected)
    {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        std::string seen;
        while (std::chrono::steady_clock::now() < end) {
            Send("profiles");
            if (const auto line = program_->WaitForLine("profiles ", 5s)) seen = *line;
            if (seen.find(expected) != std::string::npos) break;
            std::this_thread::sleep_for(20ms);
        }
        return seen;
    }

    // Gives the key the media tile on the layer shown, as the user does: key, tab, tile.
    void AssignMedia(int usage, int tile)
    {
        Send(kKeys + std::to_string(usage));
        Send(kTabs + std::to_string(kMediaTab));
        Send(kTiles + std::to_string(tile));
    }

    std::string dir_;
    fs::path socket_;
    std::unique_ptr<apptest::ChildProgram> keyboard_;
    std::unique_ptr<apptest::ChildProgram> program_;
};

TEST_F(ProfilesProcessTest, KeyPageChangesEndInTheKeyboardsTables)
{
    // First start: three profiles, the first active, and the keyboard's tables read.
    EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    int layerReads = 0;
    std::istringstream requests(KeyboardState()["request"]);
    for (std::string line; std::getline(requests, line);) {
        if (line.substr(4, 2) == "08") ++layerReads;
    }
    EXPECT_EQ(layerReads, 8 * 10) << "every layer of the key table read once";

    AssignMedia(kKeyA, kVolumeUp);
    EXPECT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");

    Send(kLayers + std::string("1"));
    AssignMedia(kKeyF10, kPlay);
    EXPECT_EQ(WaitForKey(1, kKeyF10, "30CD00"), "30CD00");
    EXPECT_EQ(WaitForKey(1, kKeyA, "F00100"), "F00100") << "the layer is written whole from the profile";
    EXPECT_EQ(KeyBytes(0, kKeyA), "30E900");

    // Reset of the selected key on FN layer 1: the keyboard's own default (mute).
    Send(kResetKey);
    EXPECT_EQ(WaitForKey(1, kKeyF10, "30E200"), "30E200");

    // Reset of the whole base layer, confirmed in the message box.
    Send(kLayers + std::string("0"));
    Send(kResetLayer);
    Send("click MessageBox 33");
    EXPECT_EQ(WaitForKey(0, kKeyA, "100004"), "100004");

    // The Dvorak preset (third item) puts the apostrophe where Q was.
    Send("pick 90 2");
    EXPECT_EQ(WaitForKey(0, kKeyQ, "100034"), "100034");
    EXPECT_EQ(KeyBytes(1, kKeyF10), "30E200") << "the preset changes the shown layer only";
}

TEST_F(ProfilesProcessTest, AddSwitchAndDeleteWriteTheWholeProfile)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    AssignMedia(kKeyA, kVolumeUp);
    ASSERT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");

    // Add from the profile menu: a fourth profile with default rows on every layer.
    Send(kProfileMenu);
    Send("click Menu_Window 101");
    const std::string added =
        "active=4 current=4 selected=3 items=1:Profile 1|2:Profile 2|3:Profile 3|4:Profile 4 "
        "waiting=0";
    EXPECT_NE(WaitForProfiles(added).find(added), std::string::npos);
    // The profile list may show the new profile while its tables are still on their way.
    EXPECT_EQ(WaitForKey(0, kKeyA, "100004"), "100004");
    EXPECT_EQ(WaitForKey(1, kKeyF10, "F00100"), "F00100") << "a new profile's FN layers hold function 1";

    // Switch back to the first profile in the combobox.
    Send("pick 87 0");
    const std::string switched =
        "active=1 current=1 selected=0 items=1:Profile 1|2:Profile 2|3:Profile 3|4:Profile 4 "
        "waiting=0";
    EXPECT_NE(WaitForProfiles(switched).find(switched), std::string::npos);
    EXPECT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");
    EXPECT_EQ(WaitForKey(1, kKeyF10, "30E200"), "30E200") << "profile 1 holds the keyboard's FN1 as read";

    // Delete the first profile: the new first one becomes active and goes to the keyboard.
    Send(kProfileMenu);
    Send("click Menu_Window 102");
    const std::string deleted =
        "active=2 current=2 selected=0 items=2:Profile 2|3:Profile 3|4:Profile 4 waiting=0";
    EXPECT_NE(WaitForProfiles(deleted).find(deleted), std::string::npos);
    EXPECT_EQ(WaitForKey(0, kKeyA, "100004"), "100004");
    EXPECT_EQ(WaitForKey(1, kKeyF10, "F00100"), "F00100");
}

TEST_F(ProfilesProcessTest, KeyboardPulledOutDuringTheSwitchKeepsThePreviousProfile)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    // The keyboard goes away in the middle of the first layer's batch.
    ASSERT_EQ(vkb::SendControl(socket_.string(), "fault unplug-after=4"), "ok");
    Send("pick 87 1");
    ASSERT_TRUE(WaitForState(kNoKeyboard));
    const std::string before = "active=1 current=1 selected=0";
    const std::string seen = WaitForProfiles(before);
    EXPECT_NE(seen.find(before), std::string::npos) << seen;
    EXPECT_NE(seen.find("waiting=0"), std::string::npos) << seen;
}

// The performance page shares the profile list and its scripted clicks: marking every key and
// turning rapid trigger off ends in the keyboard's performance table.
TEST_F(ProfilesProcessTest, PerformancePageChangesEndInTheKeyboardsPerformanceTable)
{
    EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    // A key's 8 bytes in the table of device profile 0: byte 1 is its rapid-trigger mode.
    const auto mode = [&](int usage) {
        const std::string table = KeyboardState()["key-perf.0"];
        const size_t at = static_cast<size_t>(KeyIndex(usage)) * 16 + 2;
        return table.size() >= at + 2 ? table.substr(at, 2) : std::string("missing");
    };
    const auto waitForModes = [&](const std::string& expected) {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        while (std::chrono::steady_clock::now() < end) {
            if (mode(kKeyA) == expected && mode(kKeyQ) == expected) return true;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    };
    // Rapid trigger off for every marked key, then on again.
    Send(kPerfSelectAll);
    Send(kPerfRapidTrigger);
    EXPECT_TRUE(waitForModes("00")) << mode(kKeyA) << " " << mode(kKeyQ);
    Send(kPerfRapidTrigger);
    EXPECT_TRUE(waitForModes("01")) << mode(kKeyA) << " " << mode(kKeyQ);
}

// The advanced-key page through the same clicks: a rapid-snap key on A and Q made with its type
// button, two key clicks and the editor's next and save buttons ends in the keyboard's pair
// table and both keys' entries; the list's delete icon gives both keys back.
TEST_F(ProfilesProcessTest, AdvancedKeyMadeAndDeletedOnThePageEndsInTheKeyboardsTables)
{
    EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    Send("click main 55 2");  // the advanced-key page
    Send("click main 126");   // RS
    Send("click main 104 " + std::to_string(kKeyA));
    Send("click main 104 " + std::to_string(kKeyQ));
    Send("click CustomKeyDKSDlg 36");
    Send("click CustomKeyDKSDlg 38");
    const auto hex = [](int value) {
        char text[3];
        std::snprintf(text, sizeof text, "%02X", value);
        return std::string(text);
    };
    // Slots follow the rows' order, Q's row first: Q's entry is RS, pair slot 0, A's key index,
    // and slot 0 holds Q, then A.
    EXPECT_EQ(WaitForKey(0, kKeyQ, "9300" + hex(KeyIndex(kKeyA))), "9300" + hex(KeyIndex(kKeyA)));
    EXPECT_EQ(WaitForKey(0, kKeyA, "9301" + hex(KeyIndex(kKeyQ))), "9301" + hex(KeyIndex(kKeyQ)));
    EXPECT_EQ(KeyboardState()["pair-table"].substr(0, 24), "100014100004100004100014");

    Send("click main 122 -1");  // the first advanced key's delete icon
    EXPECT_EQ(WaitForKey(0, kKeyA, "100004"), "100004");
    EXPECT_EQ(WaitForKey(0, kKeyQ, "100014"), "100014");
}

}  // namespace
