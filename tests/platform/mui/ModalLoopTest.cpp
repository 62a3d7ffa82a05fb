// Modal runs: ended from the UI thread, from a worker, before they start, by WM_CLOSE, by
// DestroyWindow, and nested in each other.
#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ControlHarness.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowServices.h"

namespace {

using muitest::PumpUntil;

// Waits on a worker thread for a condition the UI thread brings about.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class ModalLoopTest : public ::testing::Test {
protected:
    void SetUp() override { MUI::EnsureApplication(); }
    void TearDown() override { muitest::Pump(); }

    static HWND Open(MUI::MDialog& dialog, const wchar_t* name, HWND parent = nullptr)
    {
        return dialog.Create(parent, name, WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW,
                             RECT{10, 10, 210, 110});
    }

    // Ends a run that a broken test would leave hanging; the test then fails on the result.
    static void Watchdog(MUI::MDialog& dialog)
    {
        QTimer::singleShot(20000, dialog.GetWidget(), [&dialog] { dialog.EndModal(-99); });
    }
};

TEST_F(ModalLoopTest, DoOKFromWorkerEndsShownDialog)
{
    MUI::MDialog dialog;
    const HWND hwnd = Open(dialog, L"WaitDlg");
    ASSERT_NE(hwnd, nullptr);
    Watchdog(dialog);
    std::thread worker([&] {
        ASSERT_TRUE(WaitFor([&] { return dialog.IsModalRunning(); }));
        dialog.DoOK();
    });
    const int result = dialog.ShowModal(SW_SHOW);
    worker.join();
    EXPECT_EQ(result, IDOK);
    // The run destroys the window: it can no longer be found.
    EXPECT_FALSE(MUI::IsWindow(hwnd));
    EXPECT_EQ(MUI::FindWindow(L"MWindow", L"WaitDlg"), nullptr);
}

TEST_F(ModalLoopTest, EndRequestedBeforeTheLoopEndsItAtOnce)
{
    struct Case {
        const char* when;
        bool beforeCreate;
        bool fromWorker;
        bool cancel;
        int expected;
    };
    const Case cases[] = {
        {"before Create", true, false, false, IDOK},
        {"between Create and ShowModal", false, false, true, IDCANCEL},
        {"from a worker before ShowModal", false, true, false, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.when);
        MUI::MDialog dialog;
        auto end = [&] { c.cancel ? dialog.DoCancel() : dialog.DoOK(); };
        if (c.beforeCreate) end();
        ASSERT_NE(Open(dialog, L"WaitDlg"), nullptr);
        if (!c.beforeCreate) {
            if (c.fromWorker)
                std::thread(end).join();
            else
                end();
        }
        Watchdog(dialog);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(dialog.ShowModal(SW_SHOW), c.expected);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(dialog.GetHWND(), nullptr);
    }
}

TEST_F(ModalLoopTest, CloseMessageEndsTheRunWithItsWParam)
{
    MUI::MDialog box;
    ASSERT_NE(Open(box, L"MessageBox"), nullptr);
    Watchdog(box);
    std::thread worker([] {
        // What closing every popup does: find it by class and name, post WM_CLOSE.
        HWND found = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            found = MUI::FindWindow(L"MWindow", L"MessageBox");
            return found != nullptr && MUI::MWindow::FromHandle(found)->IsModalRunning();
        }));
        EXPECT_TRUE(MUI::PostMessage(found, WM_CLOSE, 2, 0));
    });
    EXPECT_EQ(box.ShowModal(1), 2);
    worker.join();
    EXPECT_EQ(MUI::FindWindow(L"MWindow", L"MessageBox"), nullptr);
}

TEST_F(ModalLoopTest, CloseMessageDestroysAWindowThatIsNotModal)
{
    MUI::MDialog editor;
    const HWND hwnd = Open(editor, L"CustomKeyDKSDlg");
    editor.ShowWindow(SW_SHOW);
    ASSERT_TRUE(MUI::PostMessage(hwnd, WM_CLOSE, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return !MUI::IsWindow(hwnd); }));
    // A second destroy (the page freeing its editor later) is harmless.
    EXPECT_FALSE(editor.DestroyWindow());
}

TEST_F(ModalLoopTest, DestroyWindowFromWorkerEndsTheRun)
{
    MUI::MDialog dialog;
    const HWND hwnd = Open(dialog, L"UpdateTipDlg");
    Watchdog(dialog);
    std::thread worker([&] {
        ASSERT_TRUE(WaitFor([&] { return dialog.IsModalRunning(); }));
        EXPECT_TRUE(MUI::DestroyWindow(hwnd));
    });
    EXPECT_EQ(dialog.ShowModal(SW_SHOW), 0);
    worker.join();
    EXPECT_FALSE(MUI::IsWindow(hwnd));
}

TEST_F(ModalLoopTest, NestedRunsEndInnermostFirst)
{
    MUI::MDialog outer;
    MUI::MDialog inner;
    const HWND outerHwnd = Open(outer, L"Outer");
    Watchdog(outer);
    std::vector<std::string> order;
    int innerResult = -1;
    bool outerDisabledDuringInner = false;
    QTimer::singleShot(0, outer.GetWidget(), [&] {
        ASSERT_NE(Open(inner, L"Inner", outerHwnd), nullptr);
        Watchdog(inner);
        QTimer::singleShot(0, inner.GetWidget(),
                           [&] { outerDisabledDuringInner = !MUI::IsWindowEnabled(outerHwnd); });
        innerResult = inner.ShowModal(SW_SHOW);
        order.push_back("inner");
    });
    std::atomic<bool> innerSurvivedOuterEnd{false};
    std::thread worker([&] {
        ASSERT_TRUE(WaitFor([&] { return outer.IsModalRunning() && inner.IsModalRunning(); }));
        outer.DoOK();  // asked first, but the inner run is still on top
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        innerSurvivedOuterEnd = inner.IsModalRunning() && outer.IsModalRunning();
        inner.DoCancel();
    });
    const int outerResult = outer.ShowModal(SW_SHOW);
    order.push_back("outer");
    worker.join();
    EXPECT_TRUE(innerSurvivedOuterEnd);
    EXPECT_EQ(order, (std::vector<std::string>{"inner", "outer"}));
    EXPECT_EQ(innerResult, IDCANCEL);
    EXPECT_EQ(outerResult, IDOK);
    EXPECT_TRUE(outerDisabledDuringInner);
}

TEST_F(ModalLoopTest, MessagesAndTimersAreServedInsideAModalRun)
{
    class Owner : public MUI::MDialog {
    public:
        std::atomic<int> ticks{0};
        LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_USER + 1) return static_cast<LRESULT>(wParam + 1);
            return MDialog::OnWindowMessage(message, wParam, lParam);
        }
        void OnTimer(unsigned) override { ++ticks; }
    };
    Owner owner;
    MUI::MDialog wait;
    const HWND ownerHwnd = Open(owner, L"Main");
    ASSERT_NE(Open(wait, L"WaitDlg", ownerHwnd), nullptr);
    Watchdog(wait);
    LRESULT answer = 0;
    std::thread worker([&] {
        ASSERT_TRUE(WaitFor([&] { return wait.IsModalRunning(); }));
        answer = MUI::SendMessage(ownerHwnd, WM_USER + 1, 41, 0);
        owner.SetTimer(300, 5);
        EXPECT_TRUE(WaitFor([&] { return owner.ticks.load() >= 2; }));
        owner.KillTimer(300);
        wait.DoOK();
    });
    EXPECT_EQ(wait.ShowModal(SW_SHOW), IDOK);
    worker.join();
    EXPECT_EQ(answer, 42);
    EXPECT_GE(owner.ticks.load(), 2);
}

TEST_F(ModalLoopTest, OwnerIsEnabledAgainAfterTheRun)
{
    MUI::MDialog owner;
    MUI::MDialog box;
    const HWND ownerHwnd = Open(owner, L"Owner");
    ASSERT_NE(Open(box, L"MessageBox", ownerHwnd), nullptr);
    box.DoOK();
    EXPECT_EQ(box.ShowModal(SW_SHOW), IDOK);
    EXPECT_TRUE(MUI::IsWindowEnabled(ownerHwnd));
}

TEST_F(ModalLoopTest, WorkerDestroysAndDeletesAShownWindow)
{
    auto* tips = new MUI::MDialog();
    const HWND hwnd = Open(*tips, L"CustomKeyDKSTipsDlg");
    tips->CreateControl(L"MText", 30, RECT{0, 0, 100, 20}, L"tip");
    tips->ShowWindow(SW_SHOW);
    muitest::Pump();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        tips->DoOK();
        tips->DestroyWindow();
        delete tips;
        done = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
    worker.join();
    muitest::Pump();
    EXPECT_FALSE(MUI::IsWindow(hwnd));
}

}  // namespace

namespace {

TEST_F(ModalLoopTest, ADialogThatNeverOpenedIsFreedOnAWorkerWithoutTheUiThread)
{
    std::atomic<bool> freed{false};
    std::thread worker([&] {
        {
            MUI::MDialog unused;
            unused.DoOK();
        }
        freed = true;
    });
    // The UI thread serves nothing meanwhile: freeing must not wait for it.
    EXPECT_TRUE(WaitFor([&] { return freed.load(); }, 3000));
    PumpUntil([&] { return freed.load(); });
    worker.join();
}

}  // namespace
