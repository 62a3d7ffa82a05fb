#include <gtest/gtest.h>

#include <QLineEdit>

#include "platform/mui/CRecordList.h"
#include "platform/mui/ControlHarness.h"

namespace {

using MUI::RecordItem;
using muitest::ControlTest;
using muitest::Note;

class RecordListTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        list = Make<MUI::CRecordList>(L"CRecordList", 263, RECT{0, 0, 253, 300});
        list->AddItem(a);
        list->AddItem(b);
        list->AddItem(c);
        muitest::Pump();
    }

    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (const auto& item : list->GetAllItems()) names.push_back(item.name);
        return names;
    }

    RecordItem a{L"A", 2, 0x41, 10};
    RecordItem b{L"A", 3, 0x41, 10};
    RecordItem c{L"Left", 4, 1, 10};
    MUI::CRecordList* list = nullptr;
};

TEST_F(RecordListTest, EditsOfTheStepsKeepTheSelectionOnItsRow)
{
    EXPECT_EQ(list->InsertItem(0, RecordItem{L"Top", 2, 0x42, 5}), 0);
    EXPECT_EQ(list->InsertItem(99, RecordItem{L"End", 3, 0x42, 5}), 4);  // clamped: appended
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Top", L"A", L"A", L"Left", L"End"}));

    list->SetCurSel(3);
    ASSERT_TRUE(list->SwapItem(3, 2));  // step up
    EXPECT_EQ(list->GetCurSel(), 2);
    RecordItem moved;
    ASSERT_TRUE(list->GetItem(2, &moved));
    EXPECT_EQ(moved, c);
    EXPECT_FALSE(list->SwapItem(4, 5));

    ASSERT_TRUE(list->DeleteItem(0));  // before the selection: it moves up
    EXPECT_EQ(list->GetCurSel(), 1);
    ASSERT_TRUE(list->DeleteItem(1));  // the selection itself
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_FALSE(list->DeleteItem(7));
    EXPECT_EQ(list->GetItemCount(), 3);
}

TEST_F(RecordListTest, UpdateDelayTimeWritesTheLastStep)
{
    ASSERT_TRUE(list->UpdateDelayTime(137));
    const auto items = list->GetAllItems();
    EXPECT_EQ(items.back().delay, 137);
    EXPECT_EQ(items.front().delay, 10);
    list->DelAllItems();
    EXPECT_FALSE(list->UpdateDelayTime(5));
    EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(RecordListTest, DelayEditedInPlaceEndsWith29)
{
    struct Case {
        QString typed;
        int delay;
    };
    int expected = 10;
    for (const Case& t : {Case{"250", 250}, Case{" 0 ", 0}, Case{"abc", -1}, Case{"-4", -1},
                          Case{"99999999999", -1}, Case{"", -1}}) {
        SCOPED_TRACE(t.typed.toStdString());
        const size_t before = Notes(263).size();
        // A double click on row 1 selects it and opens its editor.
        muitest::DoubleClick(list->Widget(), QPoint(200, 45));
        muitest::Pump();
        ASSERT_TRUE(list->IsEditing());
        EXPECT_EQ(list->GetCurSel(), 1);
        auto* editor = list->Widget()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(t.typed);
        muitest::Key(editor, Qt::Key_Return);
        ASSERT_TRUE(muitest::PumpUntil([&] {
            return !Notes(263).empty() && Notes(263).back().code == MUI::kNotifyEditEnded &&
                   Notes(263).size() > before;
        }));
        EXPECT_EQ(Notes(263).back(), (Note{263, MUI::kNotifyEditEnded, 1}));
        if (t.delay >= 0) expected = t.delay;
        RecordItem item;
        ASSERT_TRUE(list->GetItem(1, &item));
        EXPECT_EQ(item.delay, expected);
        EXPECT_EQ(item.name, L"A");
    }
}

TEST_F(RecordListTest, ShowEditNeedsASelectedStep)
{
    list->SetCurSel(-1);
    list->ShowEdit();
    EXPECT_FALSE(list->IsEditing());
    list->SetCurSel(2);
    list->ShowEdit();
    EXPECT_TRUE(list->IsEditing());
    list->DeleteItem(2);  // removing the edited row ends the edit quietly
    muitest::Pump();
    EXPECT_FALSE(list->IsEditing());
    EXPECT_EQ(list->Widget()->findChild<QLineEdit*>(), nullptr);
}

}  // namespace
