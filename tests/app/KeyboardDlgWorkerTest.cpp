#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "Fault.h"
#include "app/MainWindowTestSupport.h"
#include "app/TimerResolution.h"
#include "app/WaitDlg.h"
#include "lighting/Visualizer.h"
#include "platform/hid/HidSeam.h"
#include "platform/mui/WindowServices.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using apptest::MainWindowTest;

// Forwards to the virtual keyboards and notes the thread of every enumeration and open.
// While held, the calls wait as they would on a device that does not answer: another
// thread's until released, the UI thread's for a bounded while, so that a window frozen by
// one shows as lost time instead of a test that never ends.
class HangingBackend : public hid::HidBackend {
public:
    explicit HangingBackend(hid::HidBackend& inner)
        : inner_(inner), uiThread_(std::this_thread::get_id())
    {
    }

    std::vector<hid::HidDeviceInfo> Enumerate(uint16_t vendorId, uint16_t productId) override
    {
        Enter();
        return inner_.Enumerate(vendorId, productId);
    }
    std::unique_ptr<hid::HidDevice> Open(const std::string& path) override
    {
        Enter();
        return inner_.Open(path);
    }
    std::unique_ptr<hid::DeviceMonitor> MakeMonitor() override { return inner_.MakeMonitor(); }

    void Hold(bool held)
    {
        {
            std::lock_guard lock(mutex_);
            held_ = held;
        }
        released_.notify_all();
    }
    int UiThreadCalls() const
    {
        std::lock_guard lock(mutex_);
        return uiThreadCalls_;
    }
    int OtherCalls() const
    {
        std::lock_guard lock(mutex_);
        return otherCalls_;
    }
    int Waiting() const
    {
        std::lock_guard lock(mutex_);
        return waiting_;
    }

private:
    void Enter()
    {
        std::unique_lock lock(mutex_);
        const bool ui = std::this_thread::get_id() == uiThread_;
        ++(ui ? uiThreadCalls_ : otherCalls_);
        ++waiting_;
        if (ui) {
            released_.wait_for(lock, 10s, [this] { return !held_; });
        } else {
            released_.wait(lock, [this] { return !held_; });
        }
        --waiting_;
    }

    hid::HidBackend& inner_;
    const std::thread::id uiThread_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
    int uiThreadCalls_ = 0;
    int otherCalls_ = 0;
    int waiting_ = 0;
};

class KeyboardDlgWorkerTest : public MainWindowTest {
protected:
    // Shows the dialog modally: true when it ended at once because its end had been asked
    // for; otherwise it is ended after `limit` (generous by default) and false is returned.
    static bool EndsAtOnce(WaitDlg& dialog, std::chrono::milliseconds limit = 10s)
    {
        bool forced = false;
        // The timer dies with this call, so it cannot fire into a later test.
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            forced = true;
            dialog.DoOK();
        });
        timer.start(limit);
        dialog.ShowWaitDlg(nullptr);
        return !forced;
    }

    // Lets the worker thread finish the first connect queued at start. The worker may take
    // idle steps before the code is queued, so the step count alone proves nothing: once the
    // queue is empty, the step that took the code has ended when the next one starts.
    void WaitForFirstConnect()
    {
        ASSERT_TRUE(WaitFor([&] { return dlg->worker.queue.Empty(); }));
        const uint64_t taken = dlg->worker.steps.load();
        ASSERT_TRUE(WaitFor([&] { return dlg->worker.steps.load() > taken; }));
    }

    // Marks the keyboard as found and opened without a scan.
    void PretendConnected()
    {
        dlg->connection.deviceFound = true;
        dlg->connection.deviceOpened = true;
    }
};

TEST_F(KeyboardDlgWorkerTest, EachStepTakesOneCodeAndDoesNothingForCodesWithoutWork)
{
    CreateWindow();
    TakeQueue();
    PretendConnected();
    // Codes with no routine, the two "after" codes, and codes outside 1 to 25.
    const std::vector<int> codes = {11, 23, QCMD_AFTER_LOAD, QCMD_AFTER_CALIBRATION, 0, 26, -3};
    for (const int code : codes) {
        dlg->QueueCommand(code);
    }
    for (size_t step = 1; step <= codes.size(); ++step) {
        dlg->Run();
        std::vector<int> left = TakeQueue();
        EXPECT_EQ(left.size(), codes.size() - step) << "step " << step;
        for (const int code : left) {
            dlg->QueueCommand(code);
        }
    }
    EXPECT_TRUE(Pauses().empty());
    EXPECT_TRUE(Exits().empty());
}

TEST_F(KeyboardDlgWorkerTest, DeviceCodesWithoutKeyboardAreDroppedAndEndTheirWaitDialog)
{
    CreateWindow();
    TakeQueue();
    const int withDialog[] = {QCMD_WRITE_KEYMAP, QCMD_APPLY_PROFILE, QCMD_WRITE_MACROS,
                              QCMD_FACTORY_RESET, QCMD_WRITE_LAYER_KEYMAP};
    // Found but not opened counts as no keyboard, as does neither.
    for (const bool found : {false, true}) {
        dlg->connection.deviceFound = found;
        dlg->connection.deviceOpened = false;
        for (const int code : withDialog) {
            dlg->RegisterWaitDlg(std::make_unique<WaitDlg>());
            dlg->QueueCommand(code);
            dlg->Run();
            EXPECT_TRUE(dlg->worker.queue.Empty());
            EXPECT_TRUE(EndsAtOnce(*dlg->GetWaitDlg())) << code;
        }
        for (const int code : {QCMD_LOAD_FROM_DEVICE, QCMD_WRITE_SETTINGS, QCMD_AFTER_LOAD}) {
            dlg->QueueCommand(code);
            dlg->Run();
            EXPECT_TRUE(dlg->worker.queue.Empty()) << code;
        }
    }
    EXPECT_TRUE(Pauses().empty()) << "no routine ran";
    EXPECT_FALSE(TabsShown()) << "a dropped load shows nothing";
}

TEST_F(KeyboardDlgWorkerTest, DevicesAreOpenedOnlyByTheWorkerAndTheWindowAnswersWhileOneHangs)
{
    HangingBackend hanging(backend);
    // Before the back end goes: nothing left waiting, the window and its worker gone.
    struct Restore {
        std::unique_ptr<KeyboardDlg>& dlg;
        HangingBackend& hanging;
        hid::HidBackend& virtualBackend;
        ~Restore()
        {
            hanging.Hold(false);
            dlg.reset();
            hid::SetBackend(&virtualBackend);
        }
    } restore{dlg, hanging, backend};
    hid::SetBackend(&hanging);
    Plug();
    hanging.Hold(true);

    // Start-up: the first connect and the boot-mode probe wait on the device, the window not.
    const auto created = Clock::now();
    CreateWindow(false);
    EXPECT_LT(Clock::now() - created, 5s);
    ASSERT_TRUE(WaitFor([&] { return hanging.Waiting() > 0; }));

    // Pulled out and plugged back while the worker still waits: the window takes the
    // notifications at once and leaves the arrival's probe to the worker.
    const auto replugged = Clock::now();
    Unplug();
    Plug();
    ASSERT_TRUE(WaitFor([&] { return !dlg->worker.queue.Empty(); }));
    EXPECT_LT(Clock::now() - replugged, 5s);
    EXPECT_GT(hanging.Waiting(), 0) << "the worker still waits on the device";

    // Released: the first connect, the probe that passes and the arrival it queues.
    hanging.Hold(false);
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<int> pauses = Pauses();
        return TabsShown() && dlg->connection.statusTextId.load() == 821 &&
               dlg->worker.queue.Empty() &&
               std::find(pauses.begin(), pauses.end(), 1000) != pauses.end();
    }));
    EXPECT_EQ(hanging.UiThreadCalls(), 0);
    EXPECT_GT(hanging.OtherCalls(), 0);
}

TEST_F(KeyboardDlgWorkerTest, ExitDuringTheFirstLoadEndsItsBatchWellWithinTheStopBound)
{
    // Every answer late, so the first load's key-table batch lasts seconds; the exit comes in
    // it. The transfer unwinds within its exchange (no retry waits once exchanges stop), the
    // batch is ended, and the worker is gone long before the stop's 1000 ms bound.
    keyboard = std::make_shared<vkb::VirtualKeyboard>();
    const std::optional<vkb::Fault> late = vkb::ParseFault("delay=25:all");
    ASSERT_TRUE(late.has_value());
    keyboard->AddFault(*late);
    Plug();
    realPauses = true;
    CreateWindow(false);
    ASSERT_TRUE(WaitFor([&] { return keyboard->InBatch(); }));
    const auto asked = Clock::now();
    dlg->ExitProcess(0);
    EXPECT_LT(Clock::now() - asked, 900ms);
    EXPECT_TRUE(dlg->stopEvent->Wait(0)) << "the worker ended by itself";
    EXPECT_EQ(Exits(), std::vector<int>{0});
    EXPECT_FALSE(keyboard->InBatch());
    EXPECT_EQ(keyboard->BatchesEnded(), keyboard->BatchesBegun());
}

TEST_F(KeyboardDlgWorkerTest, AWaitDialogShownDuringAnotherStepIsLeftToItsOwnCommand)
{
    CreateWindow();
    TakeQueue();
    PretendConnected();
    // The pause before the reload after a factory reset stands for the moment the user starts a
    // profile switch while the reload runs: the switch's handler registers its dialog and queues
    // its code.
    WaitDlg* later = nullptr;
    dlg->worker.pause = [&](int ms) {
        if (ms == 5000 && later == nullptr) {
            auto dialog = std::make_unique<WaitDlg>();
            later = dialog.get();
            dlg->RegisterWaitDlg(std::move(dialog));
            dlg->QueueCommand(QCMD_APPLY_PROFILE);
        }
    };
    dlg->RegisterWaitDlg(std::make_unique<WaitDlg>());
    dlg->QueueCommand(QCMD_RELOAD_AFTER_RESET);
    dlg->Run();
    ASSERT_NE(later, nullptr);
    EXPECT_FALSE(EndsAtOnce(*later, 300ms)) << "the reload's end closed the switch's dialog";
    EXPECT_EQ(TakeQueue(), std::vector<int>{QCMD_APPLY_PROFILE});
}

TEST_F(KeyboardDlgWorkerTest, WaitDialogShownForAWriteEndsWhenTheWorkerRunsIt)
{
    CreateWindow(false);
    WaitForFirstConnect();
    PretendConnected();
    const auto start = Clock::now();
    dlg->QueueWithWaitDlg(QCMD_WRITE_KEYMAP);
    EXPECT_LT(Clock::now() - start, 20s);
    EXPECT_NE(dlg->GetWaitDlg(), nullptr) << "the dialog stays registered after its end";
    EXPECT_TRUE(WaitFor([&] { return !Pauses().empty(); }));
    EXPECT_EQ(Pauses().front(), 100);
}

TEST_F(KeyboardDlgWorkerTest, FirstConnectStartsTheIdleVisualizerAndTheWindowsEndJoinsIt)
{
    // No sound server here: the music mode is silent, not missing.
    CreateWindow(false);
    EXPECT_FALSE(dlg->visualizer->IsRunning());
    ASSERT_TRUE(WaitFor([&] { return dlg->visualizer->IsRunning(); }));
    EXPECT_FALSE(dlg->visualizer->GetAnalysis());
    EXPECT_EQ(dlg->visualizer->GetForegroundMode(), 17);
    const auto start = Clock::now();
    dlg->DestroyWindow();
    EXPECT_FALSE(dlg->visualizer->IsRunning());
    EXPECT_LT(Clock::now() - start, 2s);  // the render thread's idle pause is cut short
}

TEST_F(KeyboardDlgWorkerTest, LongRoutineIsFollowedByTheNextStepAtOnce)
{
    CreateWindow(false);
    WaitForFirstConnect();
    PretendConnected();
    // The pause before the reload after a factory reset takes 3 seconds; the step count at its
    // end is the reload's own step.
    std::atomic<uint64_t> resetStep{0};
    std::atomic<int64_t> resetEnd{0};
    dlg->worker.pause = [&](int ms) {
        if (ms == 5000) {
            std::this_thread::sleep_for(3s);
            resetStep = dlg->worker.steps.load();
            resetEnd = Clock::now().time_since_epoch().count();
        }
    };
    // A long period: a pause after the long step would show as a gap of a second.
    dlg->period = 1000;
    dlg->QueueCommand(QCMD_RELOAD_AFTER_RESET);
    dlg->QueueCommand(QCMD_AFTER_LOAD);
    ASSERT_TRUE(WaitFor([&] { return resetStep.load() != 0; }, 30s));
    ASSERT_TRUE(WaitFor([&] { return dlg->worker.steps.load() > resetStep.load(); }, 30s));
    const auto gap = Clock::now().time_since_epoch() - Clock::duration(resetEnd.load());
    EXPECT_LT(gap, 500ms);
    EXPECT_TRUE(dlg->worker.queue.Empty());
}

TEST_F(KeyboardDlgWorkerTest, LightingPagePreviewNeverLeavesTheTimerResolutionRaised)
{
    CreateWindow();
    TakeQueue();
    PretendConnected();
    dlg->ShowWindow(SW_SHOW);
    dlg->page.currentPage = PAGE_LIGHTING;
    // A window of another program in front, covering the whole main window.
    MUI::MWindow cover;
    ASSERT_NE(cover.Create(nullptr, L"Cover", WS_POPUP, 0, RECT{-100, -100, 1900, 1200}), nullptr);
    cover.ShowWindow(SW_SHOW);
    Pump();
    for (const unsigned lightFunc : {0u, LIGHT_FUNC_USER_COLORS, LIGHT_FUNC_MUSIC}) {
        dlg->page.lightFunc = lightFunc;
        for (int i = 0; i < 3; ++i) {
            dlg->Run();
            EXPECT_EQ(RaisedTimerPeriods(), 0);
        }
    }
    cover.DestroyWindow();
}

TEST_F(KeyboardDlgWorkerTest, ForegroundWindowCoversThePreviewOnlyWhenWideOrHighEnough)
{
    CreateWindow();
    dlg->ShowWindow(SW_SHOW);
    struct Case {
        RECT rect;
        bool covers;
    };
    const RECT main = dlg->GetWindowRect();
    const Case cases[] = {
        {{main.left, main.top, main.left + 1001, main.top + 100}, true},
        {{main.left, main.top, main.left + 1000, main.top + 970}, false},
        {{main.right - 10, main.top, main.right + 2000, main.bottom}, false},
        {{main.right + 10, main.top, main.right + 2000, main.bottom}, false},
    };
    for (const Case& c : cases) {
        MUI::MWindow other;
        ASSERT_NE(other.Create(nullptr, L"Other", WS_POPUP, 0, c.rect), nullptr);
        other.ShowWindow(SW_SHOW);
        MUI::SetForegroundWindow(other.GetHWND());
        Pump();
        if (MUI::GetForegroundWindow() != other.GetHWND()) {
            GTEST_SKIP() << "this platform does not report the foreground window";
        }
        EXPECT_EQ(dlg->IsPreviewCovered(), c.covers)
            << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
        other.DestroyWindow();
    }
}

}  // namespace
