// The real program on a fresh data folder against a virtual-keyboard process, driven by clicks
// on its controls (the program's scripted-input entry): every key-page change and every profile
// change ends in the keyboard's key tables.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "KeyboardClient.h"
#include "KeyboardMemory.h"
#include "app/ChildProgram.h"
#include "app/ProgramStates.h"
#include "platform/os/SingleInstance.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kTimeout = apptest::kProgramTimeout;
// How long a test waits for the program to show a report of the keyboard before the keyboard
// sends it again.
constexpr std::chrono::milliseconds kReportResend = 1s;
constexpr const wchar_t* kDeviceName = apptest::kProgramDeviceName;
constexpr const char* kLoaded = apptest::kStateLoaded;
constexpr const char* kNoKeyboard = apptest::kStateNoKeyboard;

// Key usages of the factory layout.
constexpr int kKeyA = 0x04;
constexpr int kKeyB = 0x05;
constexpr int kKeyE = 0x08;
constexpr int kKeyQ = 0x14;
constexpr int kKeyW = 0x1A;
constexpr int kKeyF10 = 0x43;
constexpr int kKeyFn = 0xFF;
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

// Two hexadecimal digits, as the keyboard's state shows a byte.
std::string Hex(int value)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

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
            ProgramPath(), std::vector<std::string>{},
            // A fresh data folder for every test, also when one process runs several.
            Environment(), ProgramOutput());
        ASSERT_TRUE(WaitForState(kLoaded));
    }

    // What the test reads of the program: its standard output, or its standard error too.
    virtual apptest::ChildProgram::Output ProgramOutput() const
    {
        return apptest::ChildProgram::Output::kStdout;
    }

    // The program started; a fixture of its own may start it from another folder.
    virtual std::string ProgramPath() { return TV_PROGRAM_PATH; }

    // The program's environment; a fixture of its own may add to it.
    virtual std::vector<std::string> Environment() const
    {
        return {"XDG_DATA_HOME=" + dir_ + "/data",
                "XDG_CONFIG_HOME=" + dir_ + "/config",
                "TV_STARTUP_REPORT=1",
                "TV_TEST_ENTRY=1",
                "ASAN_OPTIONS=detect_leaks=0",
                "QT_QPA_PLATFORM=offscreen",
                "TOLVENIC_VIRTUAL_KEYBOARD_DIR=" + dir_};
    }

    // The environment with every file dialog answered with `file` and every message box with
    // its first button, as a user would answer them.
    std::vector<std::string> AnsweringEnvironment(const fs::path& file) const
    {
        std::vector<std::string> environment = ProfilesProcessTest::Environment();
        environment.push_back("TOLVENIC_TEST_FILE_ANSWER=" + file.string());
        environment.push_back("TOLVENIC_TEST_MESSAGE_ANSWER=1");
        return environment;
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
        return apptest::WaitForProgramState(*program_, state);
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

    // The settings writes the keyboard has taken and its settings byte k, once `writes` of them
    // have arrived and their batch has ended (what was there at the time-out otherwise; -1 for
    // no block).
    std::pair<size_t, int> SettingsAfter(size_t writes, size_t k) const
    {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        std::pair<size_t, int> seen{0, -1};
        while (std::chrono::steady_clock::now() < end) {
            std::map<std::string, std::string> state = KeyboardState();
            std::istringstream requests(state["request"]);
            size_t count = 0;
            for (std::string line; std::getline(requests, line);) {
                if (line.substr(2, 4) == "5506") ++count;
            }
            const std::string& block = state["settings"];
            seen = {count,
                    block.size() == 64 ? std::stoi(block.substr(k * 2, 2), nullptr, 16) : -1};
            if (count >= writes && state["in-batch"] == "0") break;
            std::this_thread::sleep_for(20ms);
        }
        return seen;
    }

    // Waits until the keyboard holds `bytes` for the key and the batch that carried them has
    // ended, so the rest of its table has arrived too; the last bytes seen.
    std::string WaitForKey(int layer, int usage, const std::string& bytes) const
    {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        std::string seen;
        while (std::chrono::steady_clock::now() < end) {
            seen = KeyBytes(layer, usage);
            if (seen == bytes && KeyboardState()["in-batch"] == "0") break;
            std::this_thread::sleep_for(20ms);
        }
        return seen;
    }

    // The first line of the program's answer to `command` that starts with `prefix` and holds
    // `expected`, asking again until it does (or the last answer once `within` has passed).
    std::string WaitForAnswer(const std::string& command, const std::string& prefix,
                              const std::string& expected,
                              std::chrono::milliseconds within = kTimeout)
    {
        const auto end = std::chrono::steady_clock::now() + within;
        std::string seen;
        while (std::chrono::steady_clock::now() < end) {
            Send(command);
            if (const auto line = program_->WaitForLine(prefix, 5s)) seen = *line;
            if (seen.find(expected) != std::string::npos) break;
            std::this_thread::sleep_for(20ms);
        }
        return seen;
    }

    // The profile list's report once it contains `expected` (or the last one at the time-out).
    std::string WaitForProfiles(const std::string& expected)
    {
        return WaitForAnswer("profiles", "profiles ", expected);
    }

    // Reads until `read` gives `wanted`; the last value read.
    static std::string WaitForValue(const std::function<std::string()>& read,
                                    const std::string& wanted)
    {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        std::string seen;
        while (std::chrono::steady_clock::now() < end) {
            seen = read();
            if (seen == wanted) break;
            std::this_thread::sleep_for(20ms);
        }
        return seen;
    }

    // Ends the program as the user does and starts it again on the same data folder; the
    // keyboard stays plugged in.
    void Restart()
    {
        Send("exit 610");
        ASSERT_TRUE(program_->WaitForExit(kTimeout).has_value());
        program_ = std::make_unique<apptest::ChildProgram>(
            TV_PROGRAM_PATH, std::vector<std::string>{}, Environment());
        ASSERT_TRUE(WaitForState(kLoaded));
    }

    // Makes a rapid-snap key of the two keys on the advanced-key page (shown) and the layer
    // shown, as the user does: its type button, the two keys, the editor's next and save.
    void MakeRapidSnap(int key1, int key2)
    {
        Send("click main 126");
        Send("click main 104 " + std::to_string(key1));
        Send("click main 104 " + std::to_string(key2));
        Send("click CustomKeyDKSDlg 36");
        Send("click CustomKeyDKSDlg 38");
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
    // The layer goes out whole, with what the load read: the keyboard's own entries stay,
    // its empty ones too.
    EXPECT_EQ(KeyBytes(1, kKeyF10 + 1), "30EA00") << "the keyboard's own volume down";
    EXPECT_EQ(KeyBytes(1, kKeyA), "000000");
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
    // The switch's wait dialog may have been closed by the key write still running before it,
    // so the keyboard's own bytes are waited for.
    EXPECT_EQ(WaitForKey(0, kKeyA, "100004"), "100004");
    // Its FN layers are the keyboard's own defaults: mute on F10, nothing on A.
    EXPECT_EQ(WaitForKey(1, kKeyF10, "30E200"), "30E200");
    EXPECT_EQ(KeyBytes(1, kKeyA), "000000");
    EXPECT_EQ(KeyBytes(0, kKeyFn), "F0FF01");

    // Switch back to the first profile in the combobox.
    Send("pick 87 0");
    const std::string switched =
        "active=1 current=1 selected=0 items=1:Profile 1|2:Profile 2|3:Profile 3|4:Profile 4 "
        "waiting=0";
    EXPECT_NE(WaitForProfiles(switched).find(switched), std::string::npos);
    EXPECT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");
    EXPECT_EQ(WaitForKey(1, kKeyF10, "30E200"), "30E200") << "profile 1 holds FN1 as read";

    // Delete the first profile: the new first one becomes active and goes to the keyboard.
    Send(kProfileMenu);
    Send("click Menu_Window 102");
    const std::string deleted =
        "active=2 current=2 selected=0 items=2:Profile 2|3:Profile 3|4:Profile 4 waiting=0";
    EXPECT_NE(WaitForProfiles(deleted).find(deleted), std::string::npos);
    EXPECT_EQ(WaitForKey(0, kKeyA, "100004"), "100004");
    // Made at the first start before the keyboard was read, it took the keyboard's FN layers
    // once they were.
    EXPECT_EQ(WaitForKey(1, kKeyF10, "30E200"), "30E200");
    EXPECT_EQ(KeyBytes(1, kKeyA), "000000");
}

// A handle that fails while the keyboard stays plugged in (no removal is told) is taken as a
// removal: the program finds the keyboard again, loads it, and the next change reaches it.
// Also on the lighting page, whose idle step previews the live colours, and with the window
// hidden in the tray.
TEST_F(ProfilesProcessTest, AHandleFailingWithoutARemovalFindsTheKeyboardAgain)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    struct Case {
        const char* where;
        std::vector<std::string> clicks;
        const char* loaded;  // the state once loaded again
    };
    const Case cases[] = {
        {"key page", {}, kLoaded},
        {"lighting page", {"click main 55 4"}, "opened=1 page=4 tabs=1 panel=0 status=821"},
        {"hidden",
         {"click main 55 6", "click main 369", "click main 35"},
         "opened=1 page=6 tabs=1 panel=0 status=821"},
    };
    for (const Case& c : cases) {
        for (const std::string& click : c.clicks) Send(click);
        Send("profiles");  // answered once the clicks are handled
        ASSERT_TRUE(program_->WaitForLine("profiles ", kTimeout)) << c.where;
        ASSERT_TRUE(vkb::SendControl(socket_, "clear-log"));
        ASSERT_EQ(vkb::SendControl(socket_.string(), "fail-handles"), "ok");
        ASSERT_TRUE(WaitForState(kNoKeyboard))
            << c.where << ": the failed handle is not taken as a removal";
        ASSERT_TRUE(WaitForState(c.loaded)) << c.where << ": the keyboard is not found again";
        int infoRequests = 0;
        std::istringstream requests(KeyboardState()["request"]);
        for (std::string line; std::getline(requests, line);) {
            if (line.substr(4, 2) == "03") ++infoRequests;
        }
        EXPECT_GE(infoRequests, 1) << c.where << ": the keyboard's interface is asked anew";
        if (c.clicks.empty()) {
            AssignMedia(kKeyA, kVolumeUp);
            EXPECT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");
        }
    }
}

// The performance page shares the profile list and its scripted clicks: marking every key and
// turning rapid trigger off ends in the keyboard's performance table.
TEST_F(ProfilesProcessTest, PerformancePageChangesEndInTheKeyboardsPerformanceTable)
{
    EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    // A key's 8 bytes in the performance table: byte 1 is its rapid-trigger mode.
    const auto mode = [&](int usage) {
        const std::string table = KeyboardState()["key-perf"];
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

// The macro page in the real program: a recording from keys typed into its window, an export
// and an import through the file dialog's test answer, each ending in the keyboard's macro
// memory or the file written.
class MacroProcessTest : public ProfilesProcessTest {
protected:
    MacroProcessTest()
    {
        file_ = fs::temp_directory_path() / ("tv-macro-" + std::to_string(getpid()) + ".xml");
    }
    std::vector<std::string> Environment() const override { return AnsweringEnvironment(file_); }
    ~MacroProcessTest() override
    {
        std::error_code ec;
        fs::remove(file_, ec);
    }

    // The macro memory's bytes [from, from + count) as hexadecimal, once they read `expected`
    // (or the last ones seen at the time-out).
    std::string WaitForMacroBytes(size_t from, size_t count, const std::string& expected) const
    {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        std::string seen;
        while (std::chrono::steady_clock::now() < end) {
            const std::string memory = KeyboardState()["macros"];
            seen = memory.size() >= (from + count) * 2 ? memory.substr(from * 2, count * 2)
                                                       : std::string("missing");
            // The rest of the memory arrives with the same batch.
            if (seen == expected && KeyboardState()["in-batch"] == "0") break;
            std::this_thread::sleep_for(20ms);
        }
        return seen;
    }
    // The flag and key bytes of the macro memory's steps from `first`, delays left out.
    std::string StepKinds(size_t first, size_t steps) const
    {
        const std::string memory = KeyboardState()["macros"];
        std::string kinds;
        for (size_t i = 0; i < steps; ++i) {
            const size_t at = (64 + (first + i) * 4 + 2) * 2;
            kinds += memory.size() >= at + 4 ? memory.substr(at, 4) : "----";
        }
        return kinds;
    }

    fs::path file_;
};

TEST_F(MacroProcessTest, RecordingExportAndImportEndInTheKeyboardAndTheFile)
{
    // Recording into the first macro: A, then right Shift, typed into the window.
    Send("click main 250");
    for (const char* key : {"key 38 down", "key 38 up", "key 62 down", "key 62 up"}) Send(key);
    Send("click main 251");
    // Macro 1 holds four steps, the eight others start behind them.
    EXPECT_EQ(WaitForMacroBytes(0, 4, "40005000"), "40005000");
    EXPECT_EQ(StepKinds(0, 4), "4204020441208120") << "A down, A up, right Shift down, up (last)";

    Send("click main 240");
    std::string written;
    for (const auto end = std::chrono::steady_clock::now() + kTimeout;
         std::chrono::steady_clock::now() < end && written.find("</macro>") == std::string::npos;
         std::this_thread::sleep_for(20ms)) {
        std::ifstream in(file_, std::ios::binary);
        written.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_NE(written.find("<macroinfo name=\"M 1\" times=\"1\" type=\"1\""), std::string::npos)
        << written;
    EXPECT_NE(written.find("<item desc=\"RShift\" type=\"3\" value=\"229\""), std::string::npos)
        << written;

    // The import is a tenth macro: its steps follow the first macro's in the memory.
    Send("click main 239");
    EXPECT_EQ(WaitForMacroBytes(18, 2, "5000"), "5000");
    EXPECT_EQ(StepKinds(4, 4), "4204020441208120");
}

// The lighting page's handlers, clicked and typed as the user does, each ending in the
// keyboard's settings block (data bytes 8-16 are characters 16-33 of `settings`) or its
// user-colour table.
class LightingProcessTest : public ProfilesProcessTest {
protected:
    // Data bytes 8-16 of the keyboard's settings block, as hexadecimal.
    std::string Lighting() const
    {
        const std::string block = KeyboardState()["settings"];
        return block.size() >= 34 ? block.substr(16, 18) : std::string("missing");
    }
    std::string WaitForLighting(const std::string& bytes) const
    {
        return WaitForValue([&] { return Lighting(); }, bytes);
    }
    std::string UserColor(int usage) const
    {
        const std::string table = KeyboardState()["user-colors"];
        const size_t at = static_cast<size_t>(KeyIndex(usage)) * 6;
        return table.size() >= at + 6 ? table.substr(at, 6) : std::string("missing");
    }
    std::string WaitForUserColor(int usage, const std::string& bytes) const
    {
        return WaitForValue([&] { return UserColor(usage); }, bytes);
    }
    // The requests the keyboard took since the last clear, counted by command byte.
    std::map<std::string, int> RequestCounts() const
    {
        std::map<std::string, int> counts;
        std::istringstream requests(KeyboardState()["request"]);
        for (std::string line; std::getline(requests, line);) {
            if (line.size() >= 6) ++counts[line.substr(4, 2)];
        }
        return counts;
    }
    void ShowLightingPage()
    {
        EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
        Send("click main 55 " + std::to_string(kLightingTab));
    }

    static constexpr int kLightingTab = 4;
    static constexpr int kKeyEsc = 0x29;
    // Rows of the mode list: music, user colours, then the effects from 1.
    static std::string Mode(int row) { return "click main 151 " + std::to_string(row); }
};

TEST_F(LightingProcessTest, EachHandlerEndsInTheKeyboardsLightingAndColours)
{
    ShowLightingPage();
    // Mode 6 (row 7) with its default values: brightness 100, speed 4, red, colourful.
    Send(Mode(7));
    EXPECT_EQ(WaitForLighting("066400000100FF0000"), "066400000100FF0000");
    Send("click main 156");  // the middle level: 2
    Send("click main 158");  // right
    EXPECT_EQ(WaitForLighting("066402010100FF0000"), "066402010100FF0000");
    Send("click main 154");  // the slider's middle
    EXPECT_TRUE(WaitForValue([&] { return Lighting().substr(2, 2) < "40" ? "moved" : ""; },
                             "moved") == "moved")
        << Lighting();
    const std::string brightness = Lighting().substr(2, 2);
    Send("click main 162");  // colourful off: red
    EXPECT_EQ(WaitForLighting("06" + brightness + "02010000FF0000"),
              "06" + brightness + "02010000FF0000");
    Send("click main 186");  // white
    EXPECT_EQ(WaitForLighting("06" + brightness + "02010000FFFFFF"),
              "06" + brightness + "02010000FFFFFF");
    Send("type 172 0");
    EXPECT_EQ(WaitForLighting("06" + brightness + "02010000FF00FF"),
              "06" + brightness + "02010000FF00FF");

    // Off, a mode chosen meanwhile (mode 2, row 3), on: that mode.
    Send("click main 150");
    EXPECT_EQ(WaitForValue([&] { return Lighting().substr(0, 2); }, "FF"), "FF");
    Send(Mode(3));
    Send("click main 150");
    EXPECT_EQ(WaitForValue([&] { return Lighting().substr(0, 2); }, "02"), "02");

    // User colours: every key red, then A white; the "Gaming" preset; reset.
    Send(Mode(1));
    EXPECT_EQ(WaitForValue([&] { return Lighting().substr(0, 2); }, "00"), "00");
    Send("click main 201");
    Send("click main 176");
    EXPECT_EQ(WaitForUserColor(kKeyEsc, "FF0505"), "FF0505");
    Send("click main 199");
    Send("click main 138 " + std::to_string(kKeyA));
    Send("click main 186");
    EXPECT_EQ(WaitForUserColor(kKeyA, "FFFFFF"), "FFFFFF");
    EXPECT_EQ(UserColor(kKeyEsc), "FF0505");
    Send("pick 144 3");
    EXPECT_EQ(WaitForUserColor(kKeyA, "FF1414"), "FF1414");
    EXPECT_EQ(WaitForUserColor(kKeyEsc, "FF8C00"), "FF8C00");
    Send("click main 145");
    EXPECT_EQ(WaitForValue([&] { return Lighting().substr(0, 2); }, "01"), "01");
}

TEST_F(LightingProcessTest, PreviewReadsTheLiveColoursOnlyAndStopsWhileMinimised)
{
    ASSERT_TRUE(vkb::SendControl(socket_, "clear-log"));
    ShowLightingPage();
    // The page's own first write (the settings block) done, the preview reads on its own.
    EXPECT_EQ(WaitForValue([&] { return RequestCounts()["06"] > 0 ? "written" : ""; }, "written"),
              "written");
    const auto reads = [&] { return RequestCounts()["DE"]; };
    EXPECT_EQ(WaitForValue([&] { return reads() > 0 ? "reading" : ""; }, "reading"), "reading");
    ASSERT_TRUE(vkb::SendControl(socket_, "clear-log"));
    EXPECT_EQ(WaitForValue([&] { return reads() >= 70 ? "reading" : ""; }, "reading"), "reading");
    const std::map<std::string, int> counts = RequestCounts();
    for (const auto& [command, count] : counts) {
        EXPECT_TRUE(command == "DE" || command == "01" || command == "02")
            << "the preview sent command " << command << " " << count << " times";
    }

    Send("click main 37");
    ASSERT_TRUE(vkb::SendControl(socket_, "clear-log"));
    // A step begun before the minimise may still finish its 7 reads; the preview would read 7
    // chunks about every 10 ms, so a second gives it ample time to show up.
    const auto end = std::chrono::steady_clock::now() + 1s;
    while (std::chrono::steady_clock::now() < end) {
        ASSERT_LE(reads(), 7) << "reads go on while minimised";
        std::this_thread::sleep_for(50ms);
    }
}

// The keyboard's own reports reach the running program: live travel on the performance page,
// the calibration values while the keys are swallowed, and a profile switch made on the keyboard.
TEST_F(ProfilesProcessTest, KeyboardReportsReachThePerformancePageAndCalibration)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    const std::string keyA = std::to_string(KeyIndex(kKeyA));
    const std::string viewA = "keyview 272 " + std::to_string(kKeyA);
    const auto control = [&](const std::string& command) {
        return vkb::SendControl(socket_.string(), command);
    };
    // Until the keyboard's state holds the value; `retry` is sent again on the way.
    const auto waitForCalibrating = [&](const char* value, const std::string& retry) {
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        while (std::chrono::steady_clock::now() < end) {
            if (KeyboardState()["calibrating"] == value) return true;
            if (!retry.empty()) Send(retry);
            std::this_thread::sleep_for(100ms);
        }
        return false;
    };
    // Shows the page, then sends the travel report until the view shows it. A report read
    // before the click has shown the page, or in place of an answer while the page's settings
    // write waits for its own, is dropped (a moving key sends the next one at once), so a
    // single report proves nothing: the keyboard sends it again after a while without it.
    const auto waitForView = [&](const std::string& travel, const std::string& expected) {
        Send("click main 55 7");  // the performance page; a second click changes nothing
        WaitForAnswer(viewA, "keyview ", "page=7 display=1 ");
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        std::string seen;
        while (seen.find(expected) == std::string::npos && std::chrono::steady_clock::now() < end) {
            EXPECT_EQ(control("travel " + keyA + " " + travel), "ok");
            seen = WaitForAnswer(viewA, "keyview ", expected, kReportResend);
        }
        return seen;
    };
    // 256 x 40 / (517 - 5): half way down.
    const std::string half = "mode=105 travel=20 ";
    std::string seen = waitForView("256 517", half);
    EXPECT_NE(seen.find(half), std::string::npos)
        << seen << "\nrequests the keyboard took: " << KeyboardState()["requests"];

    // Calibration: the keyboard calibrates, the keys go nowhere, the view shows the values.
    EXPECT_NE(WaitForAnswer("key 38", "key ", "swallowed=0").find("swallowed=0"),
              std::string::npos);
    Send("click main 286");
    EXPECT_TRUE(waitForCalibrating("1", ""));
    EXPECT_NE(WaitForAnswer("key 38", "key ", "swallowed=1").find("swallowed=1"),
              std::string::npos);
    const std::string values = "mode=106 travel=40 calibration=1,40,55,105,291";
    seen = waitForView("300 261 55 1 0 5 9 300", values);
    EXPECT_NE(seen.find(values), std::string::npos) << seen;

    // Another page ends it: the keyboard is told and the keys reach their programs again.
    EXPECT_TRUE(waitForCalibrating("0", "click main 55 1"));
    EXPECT_NE(WaitForAnswer("key 38", "key ", "swallowed=0").find("swallowed=0"),
              std::string::npos);

    // The user picks the keyboard's second profile on the keyboard itself: the window keeps its
    // profile and reads the keyboard's performance into it again.
    ASSERT_TRUE(vkb::SendControl(socket_, "clear-log"));
    ASSERT_EQ(control("profile-switch 0 1"), "ok");
    const auto performanceRead = [&] {
        std::istringstream requests(KeyboardState()["request"]);
        for (std::string line; std::getline(requests, line);) {
            if (line.size() >= 6 && line.substr(4, 2) == "A0") return std::string("read");
        }
        return std::string();
    };
    EXPECT_EQ(WaitForValue(performanceRead, "read"), "read");
    EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
}

// The key page exports the profile, the performance page imports the
// file as a new profile, which goes to the keyboard whole.
class ProfileFileProcessTest : public ProfilesProcessTest {
protected:
    std::vector<std::string> Environment() const override { return AnsweringEnvironment(File()); }
    fs::path File() const { return fs::path(dir_) / "exported profile.xml"; }
};

TEST_F(ProfileFileProcessTest, ExportedProfileImportsAsANewProfileOnTheKeyboard)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    AssignMedia(kKeyA, kVolumeUp);
    ASSERT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");

    Send("click main 94");
    const auto end = std::chrono::steady_clock::now() + kTimeout;
    while (!fs::exists(File()) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_TRUE(fs::exists(File()));
    std::ostringstream text;
    text << std::ifstream(File(), std::ios::binary).rdbuf();
    EXPECT_TRUE(text.str().starts_with(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n<info name=\"Profile 1\">"));

    // The key changes again in the first profile; the imported one brings back the old key.
    AssignMedia(kKeyA, kPlay);
    ASSERT_EQ(WaitForKey(0, kKeyA, "30CD00"), "30CD00");
    Send("click main 282");
    const std::string imported =
        "active=4 current=4 selected=3 items=1:Profile 1|2:Profile 2|3:Profile 3|4:Profile 1 "
        "waiting=0";
    EXPECT_NE(WaitForProfiles(imported).find(imported), std::string::npos);
    EXPECT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");
    EXPECT_EQ(KeyBytes(1, kKeyF10), "30E200") << "the FN layer as the exported profile held it";

    // A file that is no profile file: the import message (answered at once) and no new
    // profile.
    std::ofstream(File(), std::ios::binary | std::ios::trunc) << "<profile>";
    Send("click main 93");
    Send("profiles");
    const auto line = program_->WaitForLine("profiles ", kTimeout);
    ASSERT_TRUE(line);
    EXPECT_NE(line->find(imported), std::string::npos) << *line;
}

// The settings page's factory reset in the real program, its confirmation answered Yes through
// the message box's test answer: the keyboard takes the reset command and holds its factory
// tables, and the program's database is made anew with its three first profiles.
class SettingsProcessTest : public ProfilesProcessTest {
protected:
    std::vector<std::string> Environment() const override
    {
        std::vector<std::string> environment = ProfilesProcessTest::Environment();
        environment.push_back("TOLVENIC_TEST_MESSAGE_ANSWER=1");
        return environment;
    }
    // The message boxes are read on standard error.
    apptest::ChildProgram::Output ProgramOutput() const override
    {
        return apptest::ChildProgram::Output::kWithErrors;
    }
};

TEST_F(SettingsProcessTest, FactoryResetEndsInTheKeyboardsAndTheProgramsDefaults)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    AssignMedia(kKeyA, kVolumeUp);
    ASSERT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");
    Send(kProfileMenu);
    Send("click Menu_Window 101");
    ASSERT_NE(WaitForProfiles("items=1:Profile 1|2:Profile 2|3:Profile 3|4:Profile 4 waiting=0")
                  .find("4:Profile 4 waiting=0"),
              std::string::npos);

    Send("click main 357");
    const std::string seen = WaitForProfiles(kFirstProfiles);
    EXPECT_NE(seen.find(kFirstProfiles), std::string::npos) << seen;
    EXPECT_EQ(KeyboardState()["factory-resets"], "1");
    EXPECT_EQ(KeyBytes(0, kKeyA), "100004") << "the keyboard's factory key table";
}

// The two questions that reset everything, closed by the window manager or with Escape instead
// of being answered: nothing is reset, on the keyboard or in the program. A Yes at the end
// shows that each question was up and is what resets.
TEST_F(ProfilesProcessTest, QuestionsClosedByTheDesktopResetNothing)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    AssignMedia(kKeyQ, kVolumeUp);
    ASSERT_EQ(WaitForKey(0, kKeyQ, "30E900"), "30E900");
    struct Case {
        const char* page;
        const char* ask;
        const char* end;
    };
    const Case cases[] = {
        {"click main 55 6", "click main 357", "close MessageBox"},
        {"click main 55 6", "click main 357", "escape MessageBox"},
        {"click main 55 1", kResetLayer, "close MessageBox"},
        {"click main 55 1", kResetLayer, "escape MessageBox"},
    };
    int round = 0;
    for (const Case& c : cases) {
        Send(c.page);
        Send(c.ask);
        ASSERT_NE(WaitForProfiles("asking=1").find("asking=1"), std::string::npos) << c.ask;
        Send(c.end);
        ASSERT_NE(WaitForProfiles("asking=0").find("asking=0"), std::string::npos) << c.end;
        // The next change, made on the key page, goes to the keyboard after anything the
        // answer could have queued.
        const bool play = ++round % 2 == 1;
        Send("click main 55 1");
        AssignMedia(kKeyA, play ? kPlay : kVolumeUp);
        ASSERT_EQ(WaitForKey(0, kKeyA, play ? "30CD00" : "30E900"), play ? "30CD00" : "30E900")
            << c.ask << " " << c.end;
        EXPECT_EQ(KeyBytes(0, kKeyQ), "30E900") << c.ask << " " << c.end;
        EXPECT_EQ(KeyboardState()["factory-resets"], "0") << c.ask << " " << c.end;
    }
    EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);

    Send(kResetLayer);
    Send("click MessageBox 33");
    EXPECT_EQ(WaitForKey(0, kKeyQ, "100014"), "100014");
    Send("click main 55 6");
    Send("click main 357");
    Send("click MessageBox 33");
    const auto end = std::chrono::steady_clock::now() + kTimeout;
    while (KeyboardState()["factory-resets"] != "1" && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_EQ(KeyboardState()["factory-resets"], "1");
}

// The window manager's close of the main window (its button, Alt+F4) does what the window's own
// close button does: with "minimise to the tray" chosen it hides the window and the program
// stays; with "exit the program" it ends.
TEST_F(ProfilesProcessTest, TheWindowManagersCloseDoesWhatTheCloseButtonDoes)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    Send("click main 369");
    Send("close main");
    EXPECT_NE(WaitForAnswer("keyview 82 4", "keyview ", "visible=0").find("visible=0"),
              std::string::npos);
    EXPECT_FALSE(program_->WaitForExit(500ms)) << "the program stays in the tray";
    Send("show");
    EXPECT_NE(WaitForAnswer("keyview 82 4", "keyview ", "visible=1").find("visible=1"),
              std::string::npos);
    Send("click main 370");
    Send("close main");
    EXPECT_EQ(program_->WaitForExit(kTimeout), 0);
    program_.reset();
}

// The settings block's byte 7 carries the performance page's debug flag only while that page is
// shown: with the flag on, each of 20 page switches writes the block once, with the flag of the
// page the switch ends on.
TEST_F(ProfilesProcessTest, EveryPageSwitchWritesTheDebugFlagOfThePageShown)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    const auto settingsAfter = [this](size_t writes) { return SettingsAfter(writes, 7); };
    const auto debugBit = [](int byte7) { return byte7 < 0 ? -1 : (byte7 >> 3) & 1; };
    size_t writes = settingsAfter(1).first;  // the load's write
    ASSERT_GE(writes, 1u);
    // The page shows its switch on but starts with the stored flag (off): off, then on again.
    Send("click main 55 7");
    Send("click main 291");
    Send("click main 291");
    writes += 3;
    ASSERT_EQ(debugBit(settingsAfter(writes).second), 1);

    const int others[] = {1, 2, 3, 6};
    for (int i = 0; i < 20; ++i) {
        const bool toPerformance = i % 2 == 1;
        const int target = toPerformance ? 7 : others[(i / 2) % 4];
        Send("click main 55 " + std::to_string(target));
        ++writes;
        const auto [count, byte7] = settingsAfter(writes);
        EXPECT_EQ(count, writes) << "switch " << i << " to page " << target;
        EXPECT_EQ(debugBit(byte7), toPerformance ? 1 : 0)
            << "switch " << i << " to page " << target;
    }
}

// The settings page's Win, Alt+Tab and Alt+F4 locks end in the settings block's byte 6 (bits 0,
// 1 and 2); they are stored, so the load after a replug writes them again.
TEST_F(ProfilesProcessTest, KeyLocksEndInTheSettingsBlocksByte6)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    const auto byte6After = [this](size_t writes) { return SettingsAfter(writes, 6).second; };
    ASSERT_EQ(byte6After(1), 0) << "no lock at first";
    ASSERT_TRUE(vkb::SendControl(socket_, "clear-log"));
    Send("click main 55 6");
    const std::pair<const char*, int> clicks[] = {{"click main 350", 0x02},
                                                  {"click main 353", 0x06},
                                                  {"click main 347", 0x07},
                                                  {"click main 350", 0x05}};
    size_t writes = 0;
    for (const auto& [click, byte6] : clicks) {
        Send(click);
        EXPECT_EQ(byte6After(++writes), byte6) << click;
    }
    ASSERT_TRUE(vkb::SendControl(socket_, "clear-log"));
    ASSERT_EQ(vkb::SendControl(socket_.string(), "unplug 300"), "ok");
    ASSERT_TRUE(WaitForState(kNoKeyboard));
    ASSERT_TRUE(WaitForState("opened=1 page=6 tabs=1"));
    EXPECT_EQ(byte6After(1), 0x05) << "the load writes the stored locks";
}

// An installation without its language files: the profiles the program makes are named with
// the built-in English word, never with a bare number.
// The built program in a folder of its own whose language folder holds only 1033.lan with
// `english` (no language folder at all when there is none).
std::string ProgramWithLanguage(const std::optional<std::string>& english)
{
    const fs::path built = fs::path(TV_PROGRAM_PATH).parent_path();
    // Under the test home, on the build's file system, so that the program is linked there.
    // One folder per test: tests of this file run side by side.
    std::string own = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : own) {
        if (c == '/') c = '-';
    }
    const fs::path folder = fs::path(std::getenv("HOME")) / ("program-" + own);
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(built)) {
        const std::string name = entry.path().filename().string();
        if (name == "language") continue;
        if (name == "Tolvenic") {
            std::error_code ec;
            fs::create_hard_link(entry.path(), folder / name, ec);
            if (ec) fs::copy_file(entry.path(), folder / name);
        } else {
            fs::create_symlink(entry.path(), folder / name);
        }
    }
    if (english) {
        fs::create_directories(folder / "language");
        std::ofstream(folder / "language/1033.lan", std::ios::binary) << *english;
    }
    return (folder / "Tolvenic").string();
}

class NoLanguageProcessTest : public ProfilesProcessTest {
protected:
    std::string ProgramPath() override { return ProgramWithLanguage(std::nullopt); }
};

TEST_F(NoLanguageProcessTest, ProfilesAreNamedInBuiltInEnglish)
{
    EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    Send(kProfileMenu);
    Send("click Menu_Window 101");
    const std::string added = "items=1:Profile 1|2:Profile 2|3:Profile 3|4:Profile 4 waiting=0";
    EXPECT_NE(WaitForProfiles(added).find(added), std::string::npos);
}

struct DamagedLanguage {
    const char* what;
    std::string file;
    const char* caption;  // what the key page's reset question then shows
};

// A damaged English language file: every text it lacks or leaves empty is the built-in one,
// each on its own, so no question is asked unseen; a text it does give is kept.
class DamagedLanguageProcessTest : public SettingsProcessTest,
                                   public ::testing::WithParamInterface<DamagedLanguage> {
protected:
    std::string ProgramPath() override { return ProgramWithLanguage(GetParam().file); }
};

TEST_P(DamagedLanguageProcessTest, TextsFallBackOneByOneToTheBuiltInEnglish)
{
    EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos)
        << "the default profile names";
    AssignMedia(kKeyQ, kVolumeUp);
    ASSERT_EQ(WaitForKey(0, kKeyQ, "30E900"), "30E900");
    Send(kResetLayer);
    const auto shown = program_->WaitForLine("message box caption=", kTimeout);
    ASSERT_TRUE(shown);
    EXPECT_EQ(*shown, std::string("message box caption=\"") + GetParam().caption +
                          "\" text=\"Restore every key of this layer to its default?\" answer=1");
    EXPECT_EQ(WaitForKey(0, kKeyQ, "100014"), "100014") << "the question was answered Yes";
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedLanguageProcessTest,
    ::testing::Values(
        DamagedLanguage{"Empty", "", "Reset keys"},
        DamagedLanguage{"Garbage", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\x00\x80", 19),
                        "Reset keys"},
        DamagedLanguage{"MissingTexts", "[CAPTION]\n1=Tolvenic\n[KB.DIALOG]\n236=Keys back\n",
                        "Keys back"},
        DamagedLanguage{"EmptyTexts",
                        "[CAPTION]\n1=Tolvenic\n[KB.DIALOG]\n1=Tolvenic\n101=\n235=\n236=\n",
                        "Reset keys"}),
    [](const ::testing::TestParamInfo<DamagedLanguage>& info) { return info.param.what; });

// A reset the keyboard carries out but never answers: the program keeps the user's data, gives
// the keyboard its tables again, so that both hold the same, and says what happened.
TEST_F(SettingsProcessTest, UnansweredFactoryResetKeepsTheDataAndTheKeyboardAlike)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    Send(kProfileMenu);
    Send("click Menu_Window 101");  // a new profile, now the active one
    const std::string four = "items=1:Profile 1|2:Profile 2|3:Profile 3|4:Profile 4 waiting=0";
    ASSERT_NE(WaitForProfiles(four).find(four), std::string::npos);
    AssignMedia(kKeyA, kVolumeUp);
    ASSERT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");
    ASSERT_EQ(vkb::SendControl(socket_.string(), "fault no-answer=0xEE"), "ok");

    Send("click main 357");
    const auto told = program_->WaitForLine(
        "message box caption=\"Factory reset\" text=\"The keyboard did not confirm the factory "
        "reset. Your profiles, macros and settings were kept",
        kTimeout);
    EXPECT_TRUE(told) << "the user is told";
    EXPECT_NE(KeyboardState()["factory-resets"], "0") << "the keyboard did reset";
    EXPECT_EQ(KeyBytes(0, kKeyA), "30E900") << "and holds the database's tables again";
    EXPECT_NE(WaitForProfiles(four).find(four), std::string::npos) << "the profiles are kept";
}

// The advanced-key page through the same clicks: a rapid-snap key on A and Q made with its type
// button, two key clicks and the editor's next and save buttons ends in the keyboard's pair
// table and both keys' entries; the list's delete icon gives both keys back.
TEST_F(ProfilesProcessTest, AdvancedKeyMadeAndDeletedOnThePageEndsInTheKeyboardsTables)
{
    EXPECT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    Send("click main 55 2");  // the advanced-key page
    MakeRapidSnap(kKeyA, kKeyQ);
    // Slots follow the rows' order, Q's row first: Q's entry is RS, pair slot 0, A's key index,
    // and slot 0 holds Q, then A.
    EXPECT_EQ(WaitForKey(0, kKeyQ, "9300" + Hex(KeyIndex(kKeyA))), "9300" + Hex(KeyIndex(kKeyA)));
    EXPECT_EQ(WaitForKey(0, kKeyA, "9301" + Hex(KeyIndex(kKeyQ))), "9301" + Hex(KeyIndex(kKeyQ)));
    EXPECT_EQ(KeyboardState()["pair-table"].substr(0, 24), "100014100004100004100014");

    Send("click main 122 -1");  // the first advanced key's delete icon
    EXPECT_EQ(WaitForKey(0, kKeyA, "100004"), "100004");
    EXPECT_EQ(WaitForKey(0, kKeyQ, "100014"), "100014");
}

// What the user set on the keys outlives a restart and a replug of the keyboard although a
// layout preset was picked once; a reset of an FN layer gives the keyboard's own FN keys back.
TEST_F(ProfilesProcessTest, KeysSetAfterAPresetStayThroughRestartAndReplug)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    // What the keyboard holds on FN layer 1 under Q before any change.
    const std::string fnQ = KeyBytes(1, kKeyQ);
    Send("pick 90 2");  // Dvorak
    ASSERT_EQ(WaitForKey(0, kKeyQ, "100034"), "100034");
    AssignMedia(kKeyA, kVolumeUp);
    ASSERT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");

    // FN layer 1: F10 given Play, then the whole layer reset.
    Send(kLayers + std::string("1"));
    AssignMedia(kKeyF10, kPlay);
    ASSERT_EQ(WaitForKey(1, kKeyF10, "30CD00"), "30CD00");
    Send(kResetLayer);
    Send("click MessageBox 33");
    EXPECT_EQ(WaitForKey(1, kKeyF10, "30E200"), "30E200") << "the keyboard's own FN key";
    EXPECT_EQ(KeyBytes(1, kKeyQ), fnQ) << "no typing layout on an FN layer";
    EXPECT_NE(fnQ, "100034");

    // Each later change writes the base layer again: A keeps its media key.
    const auto changeAndCheck = [&](int usage, int tile, const std::string& bytes) {
        Send(kLayers + std::string("0"));
        AssignMedia(usage, tile);
        ASSERT_EQ(WaitForKey(0, usage, bytes), bytes);
        EXPECT_EQ(KeyBytes(0, kKeyA), "30E900");
        EXPECT_EQ(KeyBytes(0, kKeyQ), "100034");
        EXPECT_EQ(KeyBytes(1, kKeyF10), "30E200");
    };
    Restart();
    changeAndCheck(kKeyF10, kPlay, "30CD00");
    ASSERT_EQ(vkb::SendControl(socket_.string(), "unplug 3000"), "ok");
    ASSERT_TRUE(WaitForState(kNoKeyboard));
    ASSERT_TRUE(WaitForState(kLoaded));
    changeAndCheck(kKeyF10, kVolumeUp, "30E900");
}

// A layout preset leaves an advanced key as it was: its entries still point at its pair slot.
TEST_F(ProfilesProcessTest, APresetLeavesAnAdvancedKeyWhole)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    Send("click main 55 2");
    MakeRapidSnap(kKeyA, kKeyQ);
    const std::string q = "9300" + Hex(KeyIndex(kKeyA));
    const std::string a = "9301" + Hex(KeyIndex(kKeyQ));
    ASSERT_EQ(WaitForKey(0, kKeyA, a), a);
    ASSERT_EQ(WaitForKey(0, kKeyQ, q), q);

    Send("click main 55 1");
    Send("pick 90 2");  // Dvorak: W becomes the comma
    ASSERT_EQ(WaitForKey(0, kKeyW, "100036"), "100036");
    EXPECT_EQ(KeyBytes(0, kKeyA), a);
    EXPECT_EQ(KeyBytes(0, kKeyQ), q);
    EXPECT_EQ(KeyboardState()["pair-table"].substr(0, 24), "100014100004100004100014");
}

// Macros added, bound to keys and deleted: the keys follow their macros' places in the
// keyboard's macro memory, through a restart, and the key of the deleted one is its own key.
TEST_F(ProfilesProcessTest, KeysFollowTheirMacrosThroughADeleteAndARestart)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    // Two new macros after the nine of a first start: ids 10 and 11.
    Send("click main 55 3");
    Send("click main 236");
    Send("click main 236");
    Send("click main 55 1");
    // A plays macro 11 (place 10), B macro 1 (place 0); the macro tab offers both.
    Send(kKeys + std::to_string(kKeyA));
    Send(kTabs + std::string("5"));
    Send(kTiles + std::string("11"));
    ASSERT_EQ(WaitForKey(0, kKeyA, "700A00"), "700A00");
    Send(kKeys + std::to_string(kKeyB));
    Send(kTiles + std::string("1"));
    ASSERT_EQ(WaitForKey(0, kKeyB, "700000"), "700000");
    // The same key on FN layer 1.
    Send(kLayers + std::string("1"));
    Send(kKeys + std::to_string(kKeyA));
    Send(kTiles + std::string("11"));
    ASSERT_EQ(WaitForKey(1, kKeyA, "700A00"), "700A00");
    Send(kLayers + std::string("0"));

    // Macro 1 deleted: macro 11 moves to place 9 on every layer, B is B again.
    Send("click main 55 3");
    Send("click main 226 0");
    Send("click main 237");
    EXPECT_EQ(WaitForKey(0, kKeyB, "100005"), "100005");
    EXPECT_EQ(WaitForKey(0, kKeyA, "700900"), "700900");
    EXPECT_EQ(WaitForKey(1, kKeyA, "700900"), "700900");

    // After a restart the keys still name macro 11, and B's row still reaches the keyboard.
    Restart();
    Send("click main 55 1");
    AssignMedia(kKeyQ, kVolumeUp);
    ASSERT_EQ(WaitForKey(0, kKeyQ, "30E900"), "30E900");
    EXPECT_EQ(KeyBytes(0, kKeyA), "700900");
    AssignMedia(kKeyB, kPlay);
    EXPECT_EQ(WaitForKey(0, kKeyB, "30CD00"), "30CD00");
    Send(kLayers + std::string("1"));
    AssignMedia(kKeyQ, kPlay);
    ASSERT_EQ(WaitForKey(1, kKeyQ, "30CD00"), "30CD00");
    EXPECT_EQ(KeyBytes(1, kKeyA), "700900");
}

// A rapid-snap key's entry: its pair slot and the key index of its partner.
std::string PairEntry(int slot, int partner) { return "93" + Hex(slot) + Hex(KeyIndex(partner)); }

// Rapid-snap keys on layers 0 and 1 share the pair table: a new one on the base layer moves
// layer 1's slots, and its delete moves them back; layer 1 follows both times.
TEST_F(ProfilesProcessTest, AdvancedKeysOnTwoLayersKeepTheirOwnPairSlots)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    Send("click main 55 2");
    Send("click main 113 1");
    MakeRapidSnap(kKeyA, kKeyQ);
    ASSERT_EQ(WaitForKey(1, kKeyQ, PairEntry(0, kKeyA)), PairEntry(0, kKeyA));
    ASSERT_EQ(WaitForKey(1, kKeyA, PairEntry(1, kKeyQ)), PairEntry(1, kKeyQ));

    // The base layer's rows come first: W and E take slots 0 and 1.
    Send("click main 113 0");
    MakeRapidSnap(kKeyW, kKeyE);
    EXPECT_EQ(WaitForKey(0, kKeyW, PairEntry(0, kKeyE)), PairEntry(0, kKeyE));
    EXPECT_EQ(WaitForKey(1, kKeyQ, PairEntry(2, kKeyA)), PairEntry(2, kKeyA));
    EXPECT_EQ(WaitForKey(1, kKeyA, PairEntry(3, kKeyQ)), PairEntry(3, kKeyQ));
    EXPECT_EQ(KeyboardState()["pair-table"].substr(0, 48),
              "10001A10000810000810001A100014100004100004100014");

    Send("click main 122 -2");  // the base layer's key (the second made): its delete icon
    EXPECT_EQ(WaitForKey(0, kKeyW, "10001A"), "10001A");
    EXPECT_EQ(WaitForKey(1, kKeyQ, PairEntry(0, kKeyA)), PairEntry(0, kKeyA));
    EXPECT_EQ(WaitForKey(1, kKeyA, PairEntry(1, kKeyQ)), PairEntry(1, kKeyQ));
    EXPECT_EQ(KeyboardState()["pair-table"].substr(0, 24), "100014100004100004100014");
}

// A holds a rapid-snap pair with Q on FN layer 1 and another with W on the base layer: each
// layer's A points at its own pair, and deleting one pair leaves the other whole.
TEST_F(ProfilesProcessTest, OneKeyInTwoPairsOnTwoLayersPointsAtEachLayersOwnPair)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    Send("click main 55 2");
    Send("click main 113 1");
    MakeRapidSnap(kKeyA, kKeyQ);
    ASSERT_EQ(WaitForKey(1, kKeyA, PairEntry(1, kKeyQ)), PairEntry(1, kKeyQ));

    Send("click main 113 0");
    MakeRapidSnap(kKeyA, kKeyW);
    EXPECT_EQ(WaitForKey(0, kKeyW, PairEntry(0, kKeyA)), PairEntry(0, kKeyA));
    EXPECT_EQ(WaitForKey(0, kKeyA, PairEntry(1, kKeyW)), PairEntry(1, kKeyW));
    EXPECT_EQ(WaitForKey(1, kKeyQ, PairEntry(2, kKeyA)), PairEntry(2, kKeyA));
    EXPECT_EQ(WaitForKey(1, kKeyA, PairEntry(3, kKeyQ)), PairEntry(3, kKeyQ));
    EXPECT_EQ(KeyboardState()["pair-table"].substr(0, 60),
              "10001A10000410000410001A100014100004100004100014000000000000");

    Send("click main 122 -2");  // the base layer's pair (the second made): its delete icon
    EXPECT_EQ(WaitForKey(0, kKeyA, "100004"), "100004");
    EXPECT_EQ(WaitForKey(0, kKeyW, "10001A"), "10001A");
    EXPECT_EQ(WaitForKey(1, kKeyQ, PairEntry(0, kKeyA)), PairEntry(0, kKeyA));
    EXPECT_EQ(WaitForKey(1, kKeyA, PairEntry(1, kKeyQ)), PairEntry(1, kKeyQ));
    EXPECT_EQ(KeyboardState()["pair-table"].substr(0, 24), "100014100004100004100014");
}

// A performance preset turns bottom rapid trigger off on the keyboard at once, while the
// performance page is still shown.
TEST_F(ProfilesProcessTest, APerformancePresetWritesBottomRapidTriggerAtOnce)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    const auto bottom = [&] {
        const std::string block = KeyboardState()["settings"];
        if (block.size() < 16) return std::string("missing");
        return (std::stoi(block.substr(14, 2), nullptr, 16) & 0x02) != 0 ? std::string("on")
                                                                         : std::string("off");
    };
    Send("click main 55 7");
    Send("click main 323");
    ASSERT_EQ(WaitForValue(bottom, "on"), "on");
    Send("pick 280 0");
    EXPECT_EQ(WaitForValue(bottom, "off"), "off");
}

// Keyboard writes that do not get through are told once, kept, and written again as soon as the
// keyboard answers, before anything is read from it over them; a change made right before the
// program ends still reaches the keyboard.
class UnsentWritesProcessTest : public SettingsProcessTest {
protected:
    static constexpr const char* kNotice = "text=\"Some changes could not be written";

    void Control(const std::string& command) const
    {
        ASSERT_EQ(vkb::SendControl(socket_.string(), command), "ok") << command;
    }
    // The program started again on the same folders; the keyboard stays as it is.
    void StartAgain()
    {
        program_ = std::make_unique<apptest::ChildProgram>(
            TV_PROGRAM_PATH, std::vector<std::string>{}, Environment(), ProgramOutput());
        ASSERT_TRUE(WaitForState(kLoaded));
    }
    // Pulled out by the fault armed before (and plugged back in by it), the keyboard is
    // loaded again.
    void PlugBackIn()
    {
        // The pages give way to the no-keyboard panel while it is out.
        ASSERT_TRUE(WaitForState("tabs=0 panel=1")) << "the keyboard did not leave mid-batch";
        ASSERT_TRUE(WaitForState(kLoaded));
    }
};

TEST_F(UnsentWritesProcessTest, AKeyTableWriteTheKeyboardDoesNotTakeIsToldOnceAndWrittenAgain)
{
    constexpr int kKeyF1 = 0x3A;
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    // The write of the first chunk and its repeat fail, and so do those of the first new try.
    Control("fault fail-write=0x09:4");
    AssignMedia(kKeyF1, kVolumeUp);
    const std::optional<std::string> told = program_->WaitForLine("message box", kTimeout);
    ASSERT_TRUE(told.has_value());
    EXPECT_NE(told->find(kNotice), std::string::npos) << *told;
    EXPECT_EQ(WaitForKey(0, kKeyF1, "30E900"), "30E900");
    EXPECT_FALSE(program_->WaitForLine("message box", 1500ms)) << "told once";

    // Nothing is owed any more: a restart reads the key back as it is, and the layer written
    // from the database after it still carries it.
    Restart();
    EXPECT_EQ(KeyBytes(0, kKeyF1), "30E900");
    AssignMedia(kKeyA, kPlay);
    EXPECT_EQ(WaitForKey(0, kKeyA, "30CD00"), "30CD00");
    EXPECT_EQ(KeyBytes(0, kKeyF1), "30E900");
}

TEST_F(UnsentWritesProcessTest, KeyboardPulledOutDuringTheSwitchKeepsThePreviousProfile)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    // The keyboard goes away in the middle of the first layer's batch; the notice of the
    // unwritten tables is answered, and the wait dialog ends.
    ASSERT_EQ(vkb::SendControl(socket_.string(), "fault unplug-after=4"), "ok");
    Send("pick 87 1");
    ASSERT_TRUE(WaitForState(kNoKeyboard));
    const std::string before = "active=1 current=1 selected=0";
    EXPECT_NE(WaitForProfiles(before).find(before), std::string::npos);
    const std::string seen = WaitForProfiles("waiting=0");
    EXPECT_NE(seen.find(before), std::string::npos) << seen;
    EXPECT_NE(seen.find("waiting=0"), std::string::npos) << seen;
}

TEST_F(UnsentWritesProcessTest, AKeyTableBatchCutByAnUnplugIsWrittenAgainAfterTheReplug)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    Control("fault unplug-after=4:300");
    AssignMedia(kKeyA, kVolumeUp);
    PlugBackIn();
    EXPECT_EQ(WaitForKey(0, kKeyA, "30E900"), "30E900");
    Restart();
    EXPECT_EQ(KeyBytes(0, kKeyA), "30E900");
}

TEST_F(UnsentWritesProcessTest, APerformanceBatchCutByAnUnplugIsWrittenAgainAfterTheReplug)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    // The rapid-trigger mode byte of every key of device profile 0's table: "00" off.
    const auto modes = [&] {
        const std::string table = KeyboardState()["key-perf"];
        std::string all;
        for (size_t i = 0; i < vkb::kKeyCount; ++i) {
            if (vkb::DefaultKeyUsage(i) == 0) continue;
            all += table.size() >= i * 16 + 4 ? table.substr(i * 16 + 2, 2) : "--";
        }
        return all;
    };
    std::string off;
    for (size_t i = 0; i < vkb::kKeyCount; ++i) {
        if (vkb::DefaultKeyUsage(i) != 0) off += "00";
    }
    Send(kPerfSelectAll);
    // Out after the begin and seven of the 19 chunks.
    Control("fault unplug-after=8:300");
    Send(kPerfRapidTrigger);
    PlugBackIn();
    EXPECT_EQ(WaitForValue(modes, off), off);
}

TEST_F(UnsentWritesProcessTest, AChangeRightBeforeTheEndReachesTheKeyboard)
{
    ASSERT_NE(WaitForProfiles(kFirstProfiles).find(kFirstProfiles), std::string::npos);
    struct Case {
        const char* exit;
        int key;
        bool silent;  // the keyboard answers nothing: the change waits for the next start
        std::function<void()> end;
    };
    const Case cases[] = {
        {"close button", kKeyA, false, [] { Send("click main 35"); }},
        {"window manager's close", kKeyB, false, [] { Send("close main"); }},
        {"SIGTERM", kKeyE, false,
         [this] {
             // The clicks are handled (and the write under way) once this is answered.
             Send("profiles");
             ASSERT_TRUE(program_->WaitForLine("profiles ", kTimeout));
             kill(program_->Pid(), SIGTERM);
         }},
        {"exit message", kKeyQ, false, [] { Send("exit 610"); }},
        {"close button, silent keyboard", kKeyW, true, [] { Send("click main 35"); }},
    };
    for (const Case& c : cases) {
        // Slow answers make the key-table write last a while, so the end comes while it runs.
        Control(c.silent ? "fault no-answer=all" : "fault delay=20:0x09");
        AssignMedia(c.key, kVolumeUp);
        const auto asked = std::chrono::steady_clock::now();
        c.end();
        ASSERT_EQ(program_->WaitForExit(kTimeout), 0) << c.exit;
        EXPECT_LT(std::chrono::steady_clock::now() - asked, 5000ms) << c.exit;
        if (!c.silent) {
            EXPECT_EQ(KeyBytes(0, c.key), "30E900") << c.exit;
        }
        Control("clear-faults");
        StartAgain();
        EXPECT_EQ(WaitForKey(0, c.key, "30E900"), "30E900") << c.exit;
    }
}

}  // namespace
