// Window services by handle: finding windows, properties, show state and rectangles.
#include <gtest/gtest.h>

#include <thread>

#include "ControlHarness.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowServices.h"

namespace {

class WindowServicesTest : public ::testing::Test {
protected:
    void SetUp() override { MUI::EnsureApplication(); }
    void TearDown() override { muitest::Pump(); }
};

TEST_F(WindowServicesTest, FindWindowMatchesClassAndExactName)
{
    MUI::MDialog wait, editor;
    const HWND waitHwnd = wait.Create(nullptr, L"WaitDlg", WS_POPUP, 0, RECT{0, 0, 10, 10});
    const HWND editorHwnd =
        editor.Create(nullptr, L"CustomKeyDlg", WS_POPUP, 0, RECT{0, 0, 10, 10});
    EXPECT_EQ(MUI::FindWindow(L"MWindow", L"WaitDlg"), waitHwnd);
    EXPECT_EQ(MUI::FindWindow(L"MWindow", L"CustomKeyDlg"), editorHwnd);
    EXPECT_EQ(MUI::FindWindow(L"MWindow", L"Wait"), nullptr);
    EXPECT_EQ(MUI::FindWindow(L"Button", L"WaitDlg"), nullptr);
    std::thread([&] { EXPECT_EQ(MUI::FindWindow(L"MWindow", L"WaitDlg"), waitHwnd); }).join();
    wait.DestroyWindow();
    EXPECT_EQ(MUI::FindWindow(L"MWindow", L"WaitDlg"), nullptr);
    EXPECT_NE(MUI::FindWindow(L"MWindow", L"CustomKeyDlg"), nullptr);
}

TEST_F(WindowServicesTest, PropertiesBelongToTheirWindow)
{
    MUI::MDialog a, b;
    const HWND ha = a.Create(nullptr, L"A", WS_POPUP, 0, RECT{0, 0, 10, 10});
    const HWND hb = b.Create(nullptr, L"B", WS_POPUP, 0, RECT{0, 0, 10, 10});
    EXPECT_TRUE(MUI::SetProp(ha, L"Tolvenic", 1));
    EXPECT_EQ(MUI::GetProp(ha, L"Tolvenic"), 1);
    EXPECT_EQ(MUI::GetProp(hb, L"Tolvenic"), 0);
    EXPECT_EQ(MUI::RemoveProp(ha, L"Tolvenic"), 1);
    EXPECT_EQ(MUI::GetProp(ha, L"Tolvenic"), 0);
    EXPECT_EQ(MUI::RemoveProp(ha, L"Tolvenic"), 0);
}

TEST_F(WindowServicesTest, ShowStateChangesFromAWorkerAreSeenAtOnce)
{
    MUI::MDialog main;
    const HWND hwnd = main.Create(nullptr, L"Main", WS_POPUP, 0, RECT{0, 0, 300, 200});
    EXPECT_FALSE(MUI::IsWindowVisible(hwnd));
    struct Step {
        int command;
        bool visible;
        bool iconic;
    };
    const Step steps[] = {{SW_SHOW, true, false},
                          {SW_MINIMIZE, true, true},
                          {SW_RESTORE, true, false},
                          {SW_HIDE, false, false},
                          {SW_SHOWNORMAL, true, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.command);
        std::thread([&] { MUI::ShowWindow(hwnd, s.command); }).join();
        EXPECT_EQ(MUI::IsWindowVisible(hwnd), s.visible);
        EXPECT_EQ(MUI::IsIconic(hwnd), s.iconic);
        muitest::Pump();
    }
    std::thread([&] { MUI::EnableWindow(hwnd, false); }).join();
    EXPECT_FALSE(MUI::IsWindowEnabled(hwnd));
    muitest::Pump();
    EXPECT_FALSE(main.GetWidget()->isEnabled());
}

TEST_F(WindowServicesTest, RectanglesAndCentring)
{
    MUI::MDialog parent, child;
    const HWND ph = parent.Create(nullptr, L"Main", WS_POPUP, 0, RECT{0, 0, 1600, 970});
    const HWND ch = child.Create(ph, L"WaitDlg", WS_POPUP, WS_EX_TOOLWINDOW, RECT{0, 0, 102, 102});
    child.CenterWindow();
    RECT r;
    ASSERT_TRUE(MUI::GetWindowRect(ch, &r));
    EXPECT_EQ(r, (RECT{749, 434, 851, 536}));
    ASSERT_TRUE(MUI::GetClientRect(ch, &r));
    EXPECT_EQ(r, (RECT{0, 0, 102, 102}));
    POINT p{10, 20};
    ASSERT_TRUE(MUI::ClientToScreen(ch, &p));
    EXPECT_EQ(p, (POINT{759, 454}));
    ASSERT_TRUE(MUI::ScreenToClient(ch, &p));
    EXPECT_EQ(p, (POINT{10, 20}));
    muitest::Pump();
    EXPECT_EQ(child.GetWidget()->geometry(), QRect(749, 434, 102, 102));
}

TEST_F(WindowServicesTest, SetWindowPosHonoursItsFlags)
{
    MUI::MDialog tip;
    const HWND hwnd = tip.Create(nullptr, L"Tip", WS_POPUP, 0, RECT{10, 20, 110, 70});
    struct Case {
        HWND after;
        UINT flags;
        RECT rect;
        bool visible;
        bool topmost;
    };
    const Case cases[] = {
        {HWND_TOP, 0x43, RECT{10, 20, 110, 70}, true, false},
        {HWND_TOPMOST, SWP_NOMOVE | SWP_NOSIZE, RECT{10, 20, 110, 70}, true, true},
        {HWND_TOP, SWP_NOSIZE | SWP_NOZORDER, RECT{5, 6, 105, 56}, true, true},
        {HWND_NOTOPMOST, SWP_NOMOVE | SWP_HIDEWINDOW, RECT{5, 6, 205, 306}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        ASSERT_TRUE(MUI::SetWindowPos(hwnd, c.after, 5, 6, 200, 300, c.flags));
        muitest::Pump();
        RECT r;
        MUI::GetWindowRect(hwnd, &r);
        EXPECT_EQ(r, c.rect);
        EXPECT_EQ(MUI::IsWindowVisible(hwnd), c.visible);
        EXPECT_EQ(tip.GetWidget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.topmost);
    }
}

TEST_F(WindowServicesTest, ChildWindowRectIsMovedByItsParent)
{
    MUI::MDialog main, editor;
    const HWND mh = main.Create(nullptr, L"Main", WS_POPUP, 0, RECT{100, 50, 1700, 1020});
    const HWND eh =
        editor.Create(mh, L"CustomKeyDKSDlg", WS_CHILD | WS_VISIBLE, 0, RECT{254, 570, 1600, 970});
    RECT r;
    ASSERT_TRUE(MUI::GetWindowRect(eh, &r));
    EXPECT_EQ(r, (RECT{354, 620, 1700, 1020}));
    EXPECT_EQ(editor.GetWidget()->parentWidget(), main.GetWidget());
}

TEST_F(WindowServicesTest, UnknownHandlesGiveNothing)
{
    const HWND bogus = reinterpret_cast<HWND>(0x4);
    RECT r;
    POINT p;
    EXPECT_FALSE(MUI::IsWindow(bogus));
    EXPECT_FALSE(MUI::IsWindow(nullptr));
    EXPECT_FALSE(MUI::PostMessage(bogus, WM_CLOSE));
    EXPECT_EQ(MUI::SendMessage(bogus, WM_CLOSE), 0);
    EXPECT_FALSE(MUI::ShowWindow(bogus, SW_SHOW));
    EXPECT_FALSE(MUI::GetWindowRect(bogus, &r));
    EXPECT_FALSE(MUI::ClientToScreen(bogus, &p));
    EXPECT_FALSE(MUI::SetProp(bogus, L"x", 1));
    EXPECT_EQ(MUI::GetProp(bogus, L"x"), 0);
    EXPECT_FALSE(MUI::SetTimer(bogus, 1, 10));
    EXPECT_FALSE(MUI::DestroyWindow(bogus));
}

TEST_F(WindowServicesTest, ShowingAWindowMakesItTheForegroundWindow)
{
    MUI::MDialog a, b;
    const HWND ha = a.Create(nullptr, L"A", WS_POPUP, 0, RECT{0, 0, 10, 10});
    const HWND hb = b.Create(nullptr, L"B", WS_POPUP, 0, RECT{0, 0, 10, 10});
    a.ShowWindow(SW_SHOW);
    EXPECT_EQ(MUI::GetForegroundWindow(), ha);
    b.ShowWindow(SW_SHOWNA);
    EXPECT_EQ(MUI::GetForegroundWindow(), ha);
    EXPECT_TRUE(MUI::SetForegroundWindow(hb));
    EXPECT_EQ(MUI::GetForegroundWindow(), hb);
    b.DestroyWindow();
    EXPECT_NE(MUI::GetForegroundWindow(), hb);
}

}  // namespace
