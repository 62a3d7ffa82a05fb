// The popup menu: found by its window name while open, posts the chosen item to its owner.
#include <gtest/gtest.h>

#include <QTimer>

#include "ControlHarness.h"
#include "platform/mui/MenuWnd.h"
#include "platform/mui/WindowServices.h"

namespace {

constexpr UINT kMenuMessage = 0x72A;

class MenuWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MUI::EnsureApplication();
        ASSERT_NE(owner.Create(nullptr, L"Main", WS_POPUP, 0, RECT{0, 0, 800, 600}), nullptr);
        menu.SetOwner(owner.GetHWND(), kMenuMessage);
        menu.AddItem(101, L"Add");
        menu.AddItem(102, L"Delete");
        menu.AddItem(103, L"Rename");
    }
    void TearDown() override
    {
        owner.DestroyWindow();
        muitest::Pump();
    }
    // Runs `whileOpen` inside the menu's modal run, then returns the run's result.
    int PopupAnd(const std::function<void()>& whileOpen)
    {
        QTimer::singleShot(0, [&] {
            muitest::Pump();
            whileOpen();
        });
        QTimer::singleShot(20000, [&] { menu.EndModal(-99); });
        return menu.Popup(POINT{200, 300}, 30, 150);
    }
    muitest::RecordingDialog owner;
    MUI::MenuWnd menu;
};

TEST_F(MenuWndTest, ClickedItemIsPostedToTheOwnerAndReturned)
{
    HWND found = nullptr;
    RECT rect{};
    const int result = PopupAnd([&] {
        found = MUI::FindWindow(L"MWindow", L"Menu Window");
        MUI::GetWindowRect(found, &rect);
        MUI::MControl* item = menu.GetControl(102);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetTitle(), L"Delete");
        muitest::Click(item->Widget(), QPoint(5, 5));
    });
    EXPECT_EQ(result, 102);
    EXPECT_NE(found, nullptr);
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 300);
    EXPECT_EQ(RectWidth(rect), 150);
    EXPECT_GE(RectHeight(rect), 90);
    EXPECT_EQ(MUI::FindWindow(L"MWindow", L"Menu Window"), nullptr);
    muitest::Pump();
    EXPECT_EQ(owner.posted, (std::vector<muitest::Posted>{{kMenuMessage, 102, 102}}));
}

TEST_F(MenuWndTest, EscapeClosesWithoutAChoice)
{
    const int result = PopupAnd([&] { muitest::Key(menu.GetWidget(), Qt::Key_Escape); });
    EXPECT_EQ(result, 0);
    muitest::Pump();
    EXPECT_TRUE(owner.posted.empty());
}

TEST_F(MenuWndTest, CloseMessageFromOutsideEndsTheMenu)
{
    const int result = PopupAnd(
        [&] { MUI::PostMessage(MUI::FindWindow(L"MWindow", L"Menu Window"), WM_CLOSE, 0, 0); });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(owner.posted.empty());
}

}  // namespace
