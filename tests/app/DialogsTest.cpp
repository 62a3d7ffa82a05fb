#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "app/AppTestSupport.h"
#include "app/CUIMessageBox.h"
#include "app/Environment.h"
#include "app/Language.h"
#include "app/WaitDlg.h"
#include "platform/mui/CGifPicture.h"
#include "platform/mui/DesktopInput.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowServices.h"
#include "platform/text/Utf8.h"
#include "support/ModalWindow.h"

namespace {

using testsupport::WhenModalWindowUp;

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MUI::EnsureApplication();
        folder_ = apptest::FreshFolder("dialogs");
        SetModuleFolder(text::Utf8ToWide(folder_.string()));
        apptest::WriteText(folder_ / "language/1033.lan", "[KB.DIALOG]\n20=OK\n23=Yes\n25=No\n");
        CurrentLanguageId = 1033;
    }
    void TearDown() override { SetModuleFolder(L""); }
    std::filesystem::path folder_;
};

TEST_F(DialogsTest, WaitDlgEndsWhenTheWorkerCallsDoOK)
{
    WaitDlg dialog;
    std::atomic<bool> sawWindow{false};
    std::thread worker([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            MUI::MWindow* up = MUI::MWindow::FromHandle(MUI::FindWindow(L"", L"WaitDlg"));
            if (up != nullptr && up->IsModalRunning()) {
                sawWindow = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        dialog.DoOK();
    });
    dialog.ShowWaitDlg(nullptr);
    worker.join();
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(MUI::FindWindow(L"", L"WaitDlg"), nullptr);
}

TEST_F(DialogsTest, WaitDlgEndedBeforeItIsShownClosesAtOnce)
{
    WaitDlg dialog;
    dialog.DoOK();
    const auto start = std::chrono::steady_clock::now();
    dialog.ShowWaitDlg(nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(MUI::FindWindow(L"", L"WaitDlg"), nullptr);
}

TEST_F(DialogsTest, WaitDlgSitsInTheMiddleOfItsParentWithARunningSpinner)
{
    MUI::MWindow parent;
    ASSERT_NE(parent.Create(nullptr, L"Parent", WS_POPUP, 0, RECT{0, 0, 1600, 970}), nullptr);
    WaitDlg dialog;
    RECT rect{};
    bool running = false;
    std::wstring picture;
    WhenModalWindowUp(L"WaitDlg", [&](HWND hwnd) {
        MUI::GetWindowRect(hwnd, &rect);
        if (auto* gif = dialog.GetControlAs<MUI::CGifPicture>(kWaitDlgSpinnerId)) {
            running = gif->IsRunning();
            picture = gif->GetImage();
            EXPECT_EQ(gif->GetRect(), (RECT{1, 1, 101, 101}));
        }
        dialog.DoOK();
    });
    dialog.ShowWaitDlg(parent.GetHWND());
    EXPECT_EQ(rect, (RECT{749, 434, 851, 536}));
    EXPECT_TRUE(running);
    EXPECT_EQ(picture, L"loading.gif");
    EXPECT_EQ(dialog.GetBKImage(), L"loading.png");
    parent.DestroyWindow();
}

// Clicks a button of the message box through its notification, or closes the box.
int AnswerMessageBox(int style, std::function<void(CUIMessageBox&, HWND)> answer)
{
    WhenModalWindowUp(L"MessageBox", [answer](HWND hwnd) {
        answer(*dynamic_cast<CUIMessageBox*>(MUI::MWindow::FromHandle(hwnd)), hwnd);
    });
    return ShowMessageBox(nullptr, L"Delete the profile?", L"Profile", style);
}

TEST_F(DialogsTest, MessageBoxAnswersOneOrTwo)
{
    EXPECT_EQ(AnswerMessageBox(kMessageBoxTwoButtons,
                               [](CUIMessageBox& box, HWND) {
                                   EXPECT_EQ(box.OnMessage(kMessageBoxFirstButtonId, 2, 0), 1);
                               }),
              1);
    EXPECT_EQ(AnswerMessageBox(kMessageBoxTwoButtons,
                               [](CUIMessageBox& box, HWND) {
                                   EXPECT_EQ(box.OnMessage(kMessageBoxSecondButtonId, 2, 0), 1);
                               }),
              2);
    EXPECT_EQ(
        AnswerMessageBox(kMessageBoxOneButton,
                         [](CUIMessageBox&, HWND hwnd) { MUI::PostMessage(hwnd, WM_CLOSE, 2, 0); }),
        2);
    EXPECT_EQ(AnswerMessageBox(kMessageBoxOneButton,
                               [](CUIMessageBox& box, HWND) {
                                   EXPECT_EQ(box.OnMessage(kMessageBoxFirstButtonId, 8, 0), 0);
                                   EXPECT_EQ(box.OnMessage(99, 2, 0), 0);
                                   box.OnMessage(kMessageBoxFirstButtonId, 2, 0);
                               }),
              1);
}

// The window manager's close and Escape reach the box as the desktop delivers them; neither
// is a Yes.
TEST_F(DialogsTest, DesktopCloseAndEscapeAnswerNo)
{
    const std::function<bool(MUI::MWindow&)> ends[] = {MUI::DeliverDesktopClose,
                                                       MUI::DeliverDesktopEscape};
    for (const auto& end : ends) {
        for (const int style : {kMessageBoxTwoButtons, kMessageBoxOneButton}) {
            bool delivered = false;
            EXPECT_EQ(
                AnswerMessageBox(style, [&](CUIMessageBox& box, HWND) { delivered = end(box); }),
                kMessageBoxNo)
                << style;
            EXPECT_TRUE(delivered);
        }
    }
}

TEST_F(DialogsTest, MessageBoxLaysOutItsTextsAndButtonsByStyle)
{
    struct Seen {
        RECT window{};
        std::wstring caption, message;
        RECT first{}, second{};
        std::wstring firstText, secondText;
        bool hasFirst = false, hasSecond = false;
    };
    auto look = [](int style) {
        Seen seen;
        AnswerMessageBox(style, [&seen](CUIMessageBox& box, HWND hwnd) {
            MUI::GetWindowRect(hwnd, &seen.window);
            seen.caption = box.GetControl(kMessageBoxCaptionId)->GetTitle();
            seen.message = box.GetControl(kMessageBoxTextId)->GetTitle();
            if (auto* b = box.GetControl(kMessageBoxFirstButtonId)) {
                seen.hasFirst = true;
                seen.first = b->GetRect();
                seen.firstText = b->GetTitle();
            }
            if (auto* b = box.GetControl(kMessageBoxSecondButtonId)) {
                seen.hasSecond = true;
                seen.second = b->GetRect();
                seen.secondText = b->GetTitle();
            }
            MUI::PostMessage(hwnd, WM_CLOSE, 2, 0);
        });
        return seen;
    };
    const Seen one = look(kMessageBoxOneButton);
    EXPECT_EQ(RectWidth(one.window), 500);
    EXPECT_EQ(RectHeight(one.window), 266);
    EXPECT_EQ(one.caption, L"Profile");
    EXPECT_EQ(one.message, L"Delete the profile?");
    ASSERT_TRUE(one.hasFirst);
    EXPECT_FALSE(one.hasSecond);
    EXPECT_EQ(one.first, (RECT{100, 216, 400, 252}));
    EXPECT_EQ(one.firstText, L"OK");

    const Seen two = look(kMessageBoxTwoButtons);
    ASSERT_TRUE(two.hasFirst && two.hasSecond);
    EXPECT_EQ(two.first, (RECT{130, 216, 230, 252}));
    EXPECT_EQ(two.second, (RECT{270, 216, 370, 252}));
    EXPECT_EQ(two.firstText, L"Yes");
    EXPECT_EQ(two.secondText, L"No");

    const Seen none = look(1);
    EXPECT_FALSE(none.hasFirst || none.hasSecond);
}

}  // namespace
