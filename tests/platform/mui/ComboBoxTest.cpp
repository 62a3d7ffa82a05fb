#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QWindow>

#include "platform/mui/ControlHarness.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MComboBox3.h"

namespace {

using muitest::ControlTest;
using muitest::Note;

QListWidget* OpenDropDown()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "ComboWnd" && w->isVisible()) return static_cast<QListWidget*>(w);
    return nullptr;
}

class ComboBoxTest : public ControlTest {
protected:
    MUI::MComboBox* MakeBox(const wchar_t* className, unsigned id = 87)
    {
        const int top = 10 + 50 * static_cast<int>(id - 87);
        auto* box = Make<MUI::MComboBox>(className, id, RECT{10, top, 210, top + 30});
        box->AddItem(L"Profile 1", 11);
        box->AddItem(L"Profile 2", 12);
        box->AddItem(L"Profile 3", 13);
        box->SetCurSel(0);
        muitest::Pump();
        return box;
    }

    // Opens the list with a click on the box and chooses a row with Enter.
    void Choose(MUI::MComboBox* box, int row)
    {
        muitest::Click(box->Widget(), QPoint(100, 15));
        muitest::Pump();
        QListWidget* list = OpenDropDown();
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), box->GetItemCount());
        list->setCurrentRow(row);
        muitest::Key(list, Qt::Key_Return);
        muitest::Pump();
    }
};

TEST_F(ComboBoxTest, SelectsByDataAndKeepsTheSelectionForUnknownData)
{
    auto* box = MakeBox(L"MComboBox");
    box->AddItem(L"Again 12", 12);
    EXPECT_EQ(box->SelectData(12), 1);  // the first item with the datum
    EXPECT_EQ(box->GetCurData(), 12);
    EXPECT_EQ(box->GetTitle(), L"Profile 2");
    EXPECT_EQ(box->SelectData(99), -1);
    EXPECT_EQ(box->GetCurSel(), 1);
    EXPECT_EQ(box->SetCurSel(7), -1);  // out of range clears
    EXPECT_EQ(box->GetCurData(), -1);
    EXPECT_EQ(box->GetTitle(), L"");
    EXPECT_EQ(box->GetItemData(9), -1);
    EXPECT_EQ(box->GetItemText(-1), L"");
}

TEST_F(ComboBoxTest, RemovingItemsMovesOrClearsTheSelection)
{
    auto* box = MakeBox(L"MComboBox");
    box->SetCurSel(2);
    ASSERT_TRUE(box->DeleteItem(0));
    EXPECT_EQ(box->GetCurSel(), 1);
    EXPECT_EQ(box->GetCurData(), 13);
    ASSERT_TRUE(box->DeleteItem(1));
    EXPECT_EQ(box->GetCurSel(), -1);
    EXPECT_EQ(box->GetTitle(), L"");
    EXPECT_FALSE(box->DeleteItem(5));
    EXPECT_TRUE(box->SetItemText(0, L"Renamed"));
    box->SetCurSel(0);
    EXPECT_EQ(box->GetTitle(), L"Renamed");
    box->DelAllItems();
    EXPECT_EQ(box->GetItemCount(), 0);
    EXPECT_EQ(box->GetCurData(), -1);
}

TEST_F(ComboBoxTest, ChoosingFromTheListNotifiesChangesAndMenuLikeBoxesEveryPick)
{
    struct Case {
        const wchar_t* className;
        unsigned id;
        size_t notesAfterSamePick;
    };
    for (const Case c :
         {Case{L"MComboBox", 87, 1}, Case{L"MComboBox2", 88, 1}, Case{L"MComboBox3", 89, 2}}) {
        SCOPED_TRACE(c.id);
        auto* box = MakeBox(c.className, c.id);
        Choose(box, 2);
        EXPECT_EQ(box->GetCurSel(), 2);
        EXPECT_EQ(box->GetCurData(), 13);
        EXPECT_EQ(box->GetTitle(), L"Profile 3");
        ASSERT_EQ(Notes(c.id).size(), 1u);
        EXPECT_EQ(Notes(c.id)[0], (Note{c.id, MUI::kNotifyClick, 2}));
        Choose(box, 2);
        EXPECT_EQ(Notes(c.id).size(), c.notesAfterSamePick);
    }
    // Hiding the box (from any thread) closes its open list.
    auto* box = MakeBox(L"MComboBox", 90);
    muitest::Click(box->Widget(), QPoint(100, 15));
    muitest::Pump();
    ASSERT_NE(OpenDropDown(), nullptr);
    std::thread([box] { box->SetVisible(false); }).join();
    muitest::Pump();
    EXPECT_EQ(OpenDropDown(), nullptr);
}

TEST_F(ComboBoxTest, InPlaceEditEndsWithNotification29AndTheTypedText)
{
    auto* box = MakeBox(L"MComboBox");
    box->SetCurSel(1);
    box->ShowEdit();
    muitest::Pump();
    auto* editor = box->Widget()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Profile 2");
    editor->setText("Work");
    muitest::Key(editor, Qt::Key_Return);
    ASSERT_TRUE(muitest::PumpUntil([&] { return !Notes(87).empty(); }));
    EXPECT_EQ(Notes(87).back(), (Note{87, MUI::kNotifyEditEnded, 1}));
    EXPECT_EQ(box->GetTitleEx(), L"Work");
    EXPECT_FALSE(box->IsEditing());
    EXPECT_EQ(box->GetItemText(1), L"Profile 2");  // the program renames the items itself

    // Escape ends the edit with the text it started with.
    box->ShowEdit();
    muitest::Pump();
    editor = box->Widget()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Discarded");
    muitest::Key(editor, Qt::Key_Escape);
    ASSERT_TRUE(muitest::PumpUntil([&] { return Notes(87).size() == 2; }));
    EXPECT_EQ(box->GetTitleEx(), L"Profile 2");
}

TEST_F(ComboBoxTest, FocusingTheBoxKeepsItsEditorOpenUntilTheFocusGoesElsewhere)
{
    auto* box = MakeBox(L"MComboBox");
    auto* other = Make<MUI::MComboBox>(L"MComboBox", 107, RECT{300, 10, 500, 40});
    dialog.ShowWindow(SW_SHOW);
    dialog.GetWidget()->activateWindow();
    ASSERT_TRUE(muitest::PumpUntil([&] { return dialog.GetWidget()->isActiveWindow(); }));
    box->ShowEdit();
    dialog.SetFocusControl(box);  // what a rename does right after opening the editor
    muitest::Pump();
    auto* editor = box->Widget()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(muitest::PumpUntil([&] { return editor->hasFocus(); }));
    EXPECT_TRUE(box->IsEditing());
    EXPECT_TRUE(Notes(87).empty());
    editor->setText("Gaming");
    other->Widget()->setFocus(Qt::MouseFocusReason);  // leaving the editor ends the edit
    ASSERT_TRUE(muitest::PumpUntil([&] { return !Notes(87).empty(); }));
    EXPECT_EQ(Notes(87).back().code, MUI::kNotifyEditEnded);
    EXPECT_EQ(box->GetTitleEx(), L"Gaming");
}

// Escape and a press anywhere outside the list (the platform hands the open popup every press,
// here one on the dialog's own window) close it without a choice.
TEST_F(ComboBoxTest, EscapeOrAPressOutsideClosesTheListWithoutAChoice)
{
    auto* box = MakeBox(L"MComboBox");
    dialog.ShowWindow(SW_SHOW);
    muitest::Pump();
    const std::function<void(QListWidget*)> ends[] = {
        [](QListWidget* list) { muitest::Key(list, Qt::Key_Escape); },
        [this](QListWidget*) {
            QWindow* window = dialog.GetWidget()->windowHandle();
            const QPointF at(600, 400);
            QMouseEvent press(QEvent::MouseButtonPress, at, window->mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, at, window->mapToGlobal(at),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(window, &release);
        },
    };
    for (const auto& end : ends) {
        muitest::Click(box->Widget(), QPoint(100, 15));
        muitest::Pump();
        QListWidget* list = OpenDropDown();
        ASSERT_NE(list, nullptr);
        list->setCurrentRow(2);
        end(list);
        ASSERT_TRUE(muitest::PumpUntil([] { return OpenDropDown() == nullptr; }));
        EXPECT_FALSE(box->IsListOpen());
        EXPECT_EQ(box->GetCurSel(), 0);
        EXPECT_TRUE(Notes(87).empty());
    }
}

// A box near the screen's lower edge opens its list above itself, inside the screen.
TEST_F(ComboBoxTest, ListOpensAboveABoxNearTheScreensLowerEdge)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.ShowWindow(SW_SHOW);
    muitest::Pump();
    const QPoint origin = dialog.GetWidget()->mapToGlobal(QPoint(0, 0));
    const int top = area.bottom() - 40 - origin.y();
    auto* box = Make<MUI::MComboBox>(L"MComboBox", 90, RECT{10, top, 210, top + 30});
    for (int i = 0; i < 5; ++i) box->AddItem(L"Item " + std::to_wstring(i), i);
    box->SetCurSel(0);
    muitest::Pump();
    muitest::Click(box->Widget(), QPoint(100, 15));
    muitest::Pump();
    QListWidget* list = OpenDropDown();
    ASSERT_NE(list, nullptr);
    const QRect placed = list->geometry();
    EXPECT_TRUE(area.contains(placed)) << placed.y() << " " << placed.height();
    EXPECT_LE(placed.bottom(), box->Widget()->mapToGlobal(QPoint(0, 0)).y());
    EXPECT_GE(placed.height(), 5 * 30);
    muitest::Key(list, Qt::Key_Escape);
    muitest::Pump();
}

}  // namespace
