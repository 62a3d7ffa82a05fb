// The main window under test: a fresh device name and data folder, the program's data files,
// the in-process virtual keyboard behind the HID seam, and helpers to drive the worker by hand.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "FakeCh375Library.h"
#include "VirtualHidBackend.h"
#include "VirtualKeyboard.h"
#include "app/KeyboardDlg.h"

namespace apptest {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Plugs a new virtual keyboard in (or the one given back in).
    void Plug();
    void Unplug();

    // Plugs the keyboard in, creates the window (worker run by hand) and runs the first load
    // for `profile`; the profile gets its default configuration and, for every key of the
    // performance view, a performance row (switch type 3, the mode given, actuation 75,
    // distances 5), loaded into the performance page.
    void ConnectWithPerfRows(int profile, int mode);

    // Creates the window. Manual: the worker thread is not started and the test calls Run()
    // itself; otherwise the worker runs on its own thread.
    void CreateWindow(bool manual = true);

    // Handles pending window messages (device notifications, posted closes) for a while.
    static void Pump(std::chrono::milliseconds duration = std::chrono::milliseconds(20));
    // Pumps until the condition holds; false at the time-out.
    static bool WaitFor(const std::function<bool()>& condition,
                        std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Takes every queued code, in order, leaving the queue empty.
    std::vector<int> TakeQueue();
    // Runs worker steps until the queue is empty (pumping between steps); false when it does
    // not empty within `maxSteps`.
    bool Drain(int maxSteps = 50);

    // What the window shows.
    bool TabsShown() const;
    bool HomePanelShown() const;

    // Every pause the worker asked for (milliseconds) and every process exit asked for.
    std::vector<int> Pauses() const;
    std::vector<int> Exits() const;

    // Set before CreateWindow: the worker's pauses are also slept, not only recorded.
    bool realPauses = false;
    mutable std::mutex recordMutex;
    std::vector<int> pauses;
    std::vector<int> exits;
    vkb::VirtualHidBackend backend;
    // No bridge unless a test adds one (and no watch on the machine's USB devices).
    fakeusb::FakeCh375Library bridges;
    std::shared_ptr<vkb::VirtualKeyboard> keyboard;
    std::unique_ptr<KeyboardDlg> dlg;
};

}  // namespace apptest
