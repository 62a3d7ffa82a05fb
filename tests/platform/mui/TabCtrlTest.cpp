#include <gtest/gtest.h>

#include "platform/mui/ControlHarness.h"
#include "platform/mui/MTabCtrl.h"
#include "platform/mui/MTabLayout.h"

namespace {

using muitest::ControlTest;
using muitest::Note;

// Three pages of 100-pixel tabs; tab i is under x = 100 i + 50.
class TabCtrlTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        for (unsigned id : {57u, 61u, 58u})
            pages.push_back(Make<MUI::MTabLayout>(L"MTabLayout", id, RECT{0, 120, 800, 600}));
        tabs = Make<MUI::MTabCtrl>(L"MTabCtrl", 55, RECT{0, 48, 600, 108});
        tabs->SetTabWidth(100);
        tabs->SetTabHeight(60);
        const int ids[] = {1, 7, 2};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(tabs->InsertItem(ids[i], L"Page", L"icon\\none.png", pages[i], 4, 0), i);
        tabs->SetCurSel(0);
        muitest::Pump();
    }

    std::vector<bool> Shown() const
    {
        std::vector<bool> shown;
        for (auto* page : pages) shown.push_back(page->IsVisible());
        return shown;
    }

    std::vector<MUI::MTabLayout*> pages;
    MUI::MTabCtrl* tabs = nullptr;
};

TEST_F(TabCtrlTest, SelectingAnIndexShowsOnlyItsContainer)
{
    EXPECT_EQ(Shown(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(tabs->SetCurSel(2), 2);
    EXPECT_EQ(Shown(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(tabs->GetCurItemID(), 2);
    EXPECT_EQ(tabs->SetCurSel(3), -1);  // out of range: nothing changes
    EXPECT_EQ(tabs->GetCurSel(), 2);
    EXPECT_EQ(Shown(), (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(Notes(55).empty());  // the program's own selection notifies nothing
}

TEST_F(TabCtrlTest, ClickingAnotherTabShowsItsPageAndReportsTheIndex)
{
    muitest::Click(tabs->Widget(), QPoint(150, 30));
    EXPECT_EQ(Shown(), (std::vector<bool>{false, true, false}));
    muitest::Click(tabs->Widget(), QPoint(150, 30));  // the current tab again
    muitest::Click(tabs->Widget(), QPoint(450, 30));  // past the last tab
    EXPECT_EQ(Notes(55), (std::vector<Note>{{55, MUI::kNotifyClick, 1}}));
    EXPECT_EQ(tabs->GetItemID(tabs->GetCurSel()), 7);
}

TEST_F(TabCtrlTest, ItemsKeepIdsAndTakeNewCaptions)
{
    EXPECT_EQ(tabs->GetItemCount(), 3);
    EXPECT_EQ(tabs->GetItemID(1), 7);
    EXPECT_EQ(tabs->GetItemID(3), -1);
    EXPECT_EQ(tabs->FindItem(2), 2);
    EXPECT_TRUE(tabs->SetItemCaption(1, L"Performance"));
    EXPECT_FALSE(tabs->SetItemCaption(-1, L"none"));
    EXPECT_EQ(tabs->GetItemCaption(1), L"Performance");
    EXPECT_EQ(tabs->GetItemContainer(2), pages[2]);
}

}  // namespace
