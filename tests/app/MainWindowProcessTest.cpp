// The real program against virtual-keyboard processes. The program prints its connection
// state as "state ..." lines when TV_STARTUP_REPORT is set.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "KeyboardClient.h"
#include "app/ChildProgram.h"
#include "app/ProgramStates.h"
#include "platform/os/SingleInstance.h"
#include "platform/os/XdgPaths.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kTimeout = apptest::kProgramTimeout;
constexpr const wchar_t* kDeviceName = apptest::kProgramDeviceName;
constexpr const char* kLoaded = apptest::kStateLoaded;
constexpr const char* kNoKeyboard = apptest::kStateNoKeyboard;

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

    // The socket of the keyboard's configuration interface.
    std::string ConfigSocket() const
    {
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (name[0] != '.' && name.find("MI_01") != std::string::npos) return entry.path();
        }
        return {};
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

    // Polls the keyboard's state until `done` holds for it; the last state seen.
    std::map<std::string, std::string> WaitForKeyboardState(
        const std::function<bool(const std::map<std::string, std::string>&)>& done)
    {
        std::map<std::string, std::string> state;
        const auto end = std::chrono::steady_clock::now() + kTimeout;
        while (std::chrono::steady_clock::now() < end) {
            if (const auto dump = vkb::QueryState(ConfigSocket())) {
                state = vkb::ParseState(*dump);
                if (done(state)) break;
            }
            std::this_thread::sleep_for(50ms);
        }
        return state;
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

TEST_F(MainWindowProcessTest, AKeyboardThatMayNotBeOpenedIsToldAndFoundOnceAllowed)
{
    StartKeyboard({"--refuse-open"});  // as hidraw without the udev rule
    program_ = StartProgram();
    ASSERT_TRUE(WaitForState(*program_, "found=0 opened=0 page=0 tabs=0 panel=1 status=822"));
    ASSERT_EQ(vkb::SendControl(ConfigSocket(), "refuse-open off"), "ok");
    ASSERT_TRUE(WaitForState(*program_, kLoaded));
}

TEST_F(MainWindowProcessTest, LoadReadsPerformanceAndWritesTheSettingsBlock)
{
    // The program's database for this keyboard, with an active profile.
    KBDataBase& db = KBDataBase::GetInstance();
    db.Close();
    const std::wstring folder = text::Utf8ToWide(os::DataHome()) + L"/" + kDeviceName + L" Files/";
    fs::create_directories(fs::path(folder) / "db");
    ASSERT_TRUE(db.Open(folder, L"Morvessa Keyboard"));
    if (db.GetActiveProfile() < 1) {
        ProfileRecord profile;
        profile.type = 1;
        profile.name = L"Profile 1";
        ASSERT_TRUE(db.SetActiveProfile(db.InsertProfile(profile)));
    }
    db.Close();
    StartKeyboard();
    program_ = StartProgram();
    ASSERT_TRUE(WaitForState(*program_, kLoaded));
    // The load ends with the settings write: byte 4 from the default configuration (report
    // rate 1, tick rate 0); the bytes the program does not own as the keyboard had them.
    const auto state = WaitForKeyboardState([](const auto& s) {
        return s.count("settings") != 0 && s.at("settings").substr(8, 2) == "01" &&
               s.at("in-batch") == "0";
    });
    const std::optional<std::vector<uint8_t>> settings = vkb::HexToBytes(state.at("settings"));
    ASSERT_TRUE(settings.has_value());
    ASSERT_EQ(settings->size(), 32u);
    EXPECT_EQ((*settings)[4], 0x01);
    EXPECT_EQ(std::vector<uint8_t>(settings->begin(), settings->begin() + 4),
              (std::vector<uint8_t>{1, 2, 3, 4}));
    for (size_t k = 17; k < 32; ++k) EXPECT_EQ((*settings)[k], 0x80 + k) << k;
    // The performance table was read on the way.
    size_t perfReads = 0;
    std::istringstream requests(state.at("request"));
    for (std::string line; std::getline(requests, line);) {
        if (line.substr(4, 2) == "A0") ++perfReads;
    }
    EXPECT_GE(perfReads, 19u);
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
    const auto asked = std::chrono::steady_clock::now();
    ASSERT_TRUE(os::SendInstanceCommand(kDeviceName, "exit 610"));
    EXPECT_EQ(program_->WaitForExit(kTimeout), 0);
    // The batch's step would go on for seconds; the exit gives the worker at most a second,
    // then one exchange ends the batch.
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 3000ms);
    std::map<std::string, std::string> state = KeyboardState();
    EXPECT_EQ(state["in-batch"], "0");
    EXPECT_NE(state["batches-begun"], "0");
    EXPECT_EQ(state["batches-ended"], state["batches-begun"]) << state["request"];
}

// A screen smaller than the window (1366 x 768): the window is drawn smaller and keeps its design
// size in window coordinates, so the whole of it fits the work area and every tab can be reached.
TEST_F(MainWindowProcessTest, SmallScreenKeepsTheWindowButtonsAndTabsOnIt)
{
    const std::string screen = dir_ + "/screen.json";
    std::ofstream(screen) << R"({"screens": [{"name": "Small", "x": 0, "y": 0, "width": 1366,
        "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    StartKeyboard();
    program_ = std::make_unique<apptest::ChildProgram>(
        TV_PROGRAM_PATH, std::vector<std::string>{},
        std::vector<std::string>{"TV_STARTUP_REPORT=1", "TV_TEST_ENTRY=1",
                                 "ASAN_OPTIONS=detect_leaks=0",
                                 "QT_QPA_PLATFORM=offscreen:configfile=" + screen,
                                 "TOLVENIC_VIRTUAL_KEYBOARD_DIR=" + dir_});
    ASSERT_TRUE(WaitForState(*program_, kLoaded));
    // Where the control lies on the screen, and the screen's work area.
    const auto where = [this](unsigned id) {
        std::array<int, 8> r{};
        if (!os::SendInstanceCommand(kDeviceName, "where " + std::to_string(id))) return r;
        const auto line = program_->WaitForLine("where " + std::to_string(id) + " ", kTimeout);
        if (line) {
            std::sscanf(line->c_str() + line->find(' ', 6), " %d,%d,%d,%d screen %d,%d,%d,%d",
                        &r[0], &r[1], &r[2], &r[3], &r[4], &r[5], &r[6], &r[7]);
        }
        return r;
    };
    const auto inside = [](const std::array<int, 8>& r, int left, int right) {
        return left >= r[4] && right <= r[6] && r[1] >= r[5] && r[3] <= r[7];
    };
    const std::array<int, 8> window = where(0);
    EXPECT_EQ(window[2] - window[0], 1600);
    EXPECT_EQ(window[3] - window[1], 970);
    EXPECT_TRUE(inside(window, window[0], window[2]))
        << window[0] << "," << window[1] << "," << window[2] << "," << window[3];
    for (const unsigned button : {35u, 36u, 37u}) {
        const std::array<int, 8> r = where(button);
        EXPECT_TRUE(inside(r, r[0], r[2])) << button << " at " << r[0] << "," << r[1];
    }
    // The tab control: its six tabs of 210 pixels start on the screen.
    const std::array<int, 8> tabs = where(55);
    EXPECT_TRUE(inside(tabs, tabs[0], tabs[0] + 5 * 210 + 100)) << tabs[0] << "," << tabs[1];
    ASSERT_TRUE(os::SendInstanceCommand(kDeviceName, "exit 610"));
    EXPECT_EQ(program_->WaitForExit(kTimeout), 0);
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
