#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTimer>

#include "platform/mui/ControlHarness.h"
#include "platform/mui/MListBox.h"
#include "platform/mui/MListBoxEx.h"
#include "platform/mui/MenuWnd.h"
#include "platform/mui/Painting.h"
#include "platform/mui/WindowServices.h"

namespace {

using muitest::ControlTest;
using muitest::Note;
using muitest::Posted;

class ListBoxTest : public ControlTest {
protected:
    // Rows of 30 pixels: row n is under y = 30 n + 15.
    MUI::MListBox* MakeList(const wchar_t* className = L"MListBox", unsigned id = 226)
    {
        auto* list = Make<MUI::MListBox>(className, id, RECT{20, 20, 220, 320});
        for (int i = 1; i <= 4; ++i) list->AddItem(L"M " + std::to_wstring(i), 100 + i);
        muitest::Pump();
        return list;
    }
};

TEST_F(ListBoxTest, ClickingARowSelectsItAndNotifiesOnlyChanges)
{
    auto* list = MakeList();
    muitest::Click(list->Widget(), QPoint(50, 75));
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(list->GetCurData(), 103);
    muitest::Click(list->Widget(), QPoint(50, 75));
    muitest::Click(list->Widget(), QPoint(50, 250));  // below the last row
    EXPECT_EQ(Notes(226), (std::vector<Note>{{226, MUI::kNotifyClick, 2}}));
    EXPECT_EQ(list->GetCurSel(), 2);
}

TEST_F(ListBoxTest, ContextMenuSelectsTheRowAndPostsItsChoiceTo0x731)
{
    auto* list = MakeList();
    bool menuSeen = false;
    // The menu runs modally; choose "delete" from inside its loop.
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(muitest::PumpUntil(
            [] { return MUI::FindWindow(L"MWindow", L"Menu Window") != nullptr; }));
        auto* menu = dynamic_cast<MUI::MenuWnd*>(
            MUI::MWindow::FromHandle(MUI::FindWindow(L"MWindow", L"Menu Window")));
        ASSERT_NE(menu, nullptr);
        menuSeen = true;
        EXPECT_EQ(menu->GetItemCount(), 7);
        menu->Choose(605);
    });
    muitest::Press(list->Widget(), QPoint(50, 45), Qt::RightButton);
    muitest::Release(list->Widget(), QPoint(50, 45), Qt::RightButton);
    ASSERT_TRUE(muitest::PumpUntil([&] { return !dialog.posted.empty(); }));
    EXPECT_TRUE(menuSeen);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(Notes(226), (std::vector<Note>{{226, MUI::kNotifyClick, 1}}));
    EXPECT_EQ(dialog.posted, (std::vector<Posted>{{MUI::MListBox::kMenuMessage, 605, 605}}));
}

TEST_F(ListBoxTest, ShowEditRenamesTheSelectedRowUnlessTheTextIsEmpty)
{
    auto* list = MakeList();
    list->ShowEdit();  // nothing selected: no editor
    EXPECT_FALSE(list->IsEditing());
    list->SetCurSel(3);
    struct Case {
        QString typed;
        std::wstring after;
    };
    for (const Case& c : {Case{"Copy keys", L"Copy keys"}, Case{"", L"Copy keys"}}) {
        const size_t before = Notes(226).size();
        list->ShowEdit();
        muitest::Pump();
        auto* editor = list->Widget()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(c.typed);
        muitest::Key(editor, Qt::Key_Return);
        ASSERT_TRUE(muitest::PumpUntil([&] { return Notes(226).size() == before + 1; }));
        EXPECT_EQ(Notes(226).back(), (Note{226, MUI::kNotifyEditEnded, 3}));
        EXPECT_EQ(list->GetItemText(3), c.after);
        EXPECT_EQ(list->GetTitleEx(), MUI::FromQString(c.typed));
    }
    EXPECT_EQ(list->GetItemData(3), 104);
    EXPECT_TRUE(list->ModifyItemString(0, L"New Macro 1"));
    EXPECT_EQ(list->GetItemText(0), L"New Macro 1");
    EXPECT_FALSE(list->ModifyItemString(4, L"none"));
}

TEST_F(ListBoxTest, ListBoxExSharesItsHeightAmongTheRowsAndHasNoMenu)
{
    auto* list = Make<MUI::MListBoxEx>(L"MListBoxEx", 151, RECT{30, 20, 330, 530});
    for (int mode = 0; mode < 22; ++mode) list->AddItem(L"mode", mode);
    list->SetAllItemHeight(500);
    muitest::Pump();
    EXPECT_EQ(list->GetItemHeight(), 22);
    EXPECT_EQ(list->ItemFromPoint(10, 22 * 21 + 5), 21);
    list->SelectData(7);
    EXPECT_EQ(list->GetCurSel(), 7);
    muitest::Click(list->Widget(), QPoint(10, 22 * 3 + 5), Qt::RightButton);
    muitest::Pump();
    EXPECT_EQ(MUI::FindWindow(L"MWindow", L"Menu Window"), nullptr);
    EXPECT_TRUE(dialog.posted.empty());
    EXPECT_EQ(list->GetCurData(), 3);  // the right click still selects
}

}  // namespace
