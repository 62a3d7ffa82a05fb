// A window's construction sequence, its layout calls on resizing, moving it by its body, and the
// transient message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlHarness.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/MTabLayout.h"
#include "platform/mui/WindowServices.h"

namespace {

class LayoutRecorder : public MUI::MDialog {
public:
    std::vector<std::string> calls;
    std::vector<RECT> layouts;

    int OnCreate() override
    {
        calls.push_back("OnCreate");
        return 0;
    }
    void InitUI(const RECT& client) override
    {
        calls.push_back("InitUI");
        layouts.push_back(client);
        CreateControl(L"MButton", 35, RECT{client.right - 50, 10, client.right - 18, 40});
    }
    int OnInitDialog() override
    {
        calls.push_back("OnInitDialog");
        return MDialog::OnInitDialog();
    }
    void UISize(const RECT& client) override
    {
        calls.push_back("UISize");
        layouts.push_back(client);
        if (MUI::MControl* close = GetControl(35))
            close->SetRect(client.right - 50, 10, client.right - 18, 40);
    }
    int OnLButtonDown(WPARAM, int, int) override
    {
        // The main window's way of moving itself: a caption press posted to itself.
        if (moveByCaption) PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return 0;
    }
    bool moveByCaption = false;
};

class WindowLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { MUI::EnsureApplication(); }
    void TearDown() override
    {
        window.DestroyWindow();
        muitest::Pump();
    }
    // A press on the window body at `from` and a drag by `by`, in global coordinates.
    void DragBody(QPoint from, QPoint by)
    {
        QWidget* w = window.GetWidget();
        const QPoint global = w->mapToGlobal(from);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(from), QPointF(global), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        muitest::Pump();
        QMouseEvent move(QEvent::MouseMove, QPointF(from + by), QPointF(global + by), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(from + by), QPointF(global + by),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &release);
        muitest::Pump();
    }
    LayoutRecorder window;
};

TEST_F(WindowLayoutTest, CreateBuildsThenInitialisesAndResizingLaysOutAgain)
{
    ASSERT_NE(window.Create(nullptr, L"Main", WS_POPUP, 0, RECT{0, 0, 1600, 970}), nullptr);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"OnCreate", "InitUI", "OnInitDialog"}));
    EXPECT_EQ(window.layouts.back(), (RECT{0, 0, 1600, 970}));
    window.ShowWindow(SW_SHOW);
    muitest::Pump();
    // Showing at the created size lays nothing out again.
    EXPECT_EQ(window.calls.size(), 3u);

    window.MoveWindow(RECT{0, 0, 1200, 800});
    ASSERT_TRUE(muitest::PumpUntil([&] { return window.calls.back() == "UISize"; }));
    EXPECT_EQ(window.layouts.back(), (RECT{0, 0, 1200, 800}));
    muitest::Pump();
    EXPECT_EQ(window.GetControl(35)->Widget()->geometry(), QRect(1150, 10, 32, 30));
}

TEST_F(WindowLayoutTest, ContainerMovesKeepChildrenInWindowCoordinates)
{
    ASSERT_NE(window.Create(nullptr, L"Main", WS_POPUP, 0, RECT{0, 0, 800, 600}), nullptr);
    auto* page = dynamic_cast<MUI::MTabLayout*>(
        window.CreateControl(L"MTabLayout", 57, RECT{0, 120, 795, 600}));
    MUI::MControl* child = page->CreateControl(L"MText", 81, RECT{65, 125, 195, 150});
    muitest::Pump();
    page->SetRect(0, 100, 795, 600);
    muitest::Pump();
    EXPECT_EQ(child->Widget()->geometry(), QRect(65, 25, 130, 25));
}

TEST_F(WindowLayoutTest, BodyDragMovesTheWindowOnlyWhenEnabled)
{
    ASSERT_NE(window.Create(nullptr, L"WaitDlg", WS_POPUP, 0, RECT{100, 100, 202, 202}), nullptr);
    window.ShowWindow(SW_SHOW);
    muitest::Pump();
    DragBody(QPoint(5, 5), QPoint(50, 20));
    EXPECT_EQ(window.GetWindowRect(), (RECT{100, 100, 202, 202}));
    window.EnableWindowDrag(true);
    DragBody(QPoint(5, 5), QPoint(50, 20));
    EXPECT_EQ(window.GetWindowRect(), (RECT{150, 120, 252, 222}));
}

TEST_F(WindowLayoutTest, CaptionPressPostedByTheWindowMovesIt)
{
    ASSERT_NE(window.Create(nullptr, L"Main", WS_POPUP, 0, RECT{0, 0, 400, 300}), nullptr);
    window.moveByCaption = true;
    window.ShowWindow(SW_SHOW);
    muitest::Pump();
    DragBody(QPoint(200, 200), QPoint(-30, 40));
    EXPECT_EQ(window.GetWindowRect(), (RECT{-30, 40, 370, 340}));
}

TEST_F(WindowLayoutTest, TransientMessageShowsAndGoesAway)
{
    ASSERT_NE(window.Create(nullptr, L"Main", WS_POPUP, 0, RECT{0, 0, 400, 300}), nullptr);
    window.SetMessage(L"Saved", 30);
    EXPECT_EQ(window.GetMessageText(), L"Saved");
    ASSERT_TRUE(muitest::PumpUntil([&] { return window.GetMessageText().empty(); }));
}

}  // namespace
