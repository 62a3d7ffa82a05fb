#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QLineEdit>

#include "platform/mui/ControlHarness.h"
#include "platform/mui/MEdit.h"

namespace {

using muitest::ControlTest;

class EditTest : public ControlTest {};
using muitest::Note;

TEST_F(EditTest, EditReportsBeginChangeAndEndButNotProgramTexts)
{
    auto* edit = Make<MUI::MEdit>(L"MEdit", 171, RECT{10, 10, 80, 34});
    edit->SetTitle(L"25");
    muitest::Pump();
    auto* box = qobject_cast<QLineEdit*>(edit->Widget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "25");
    EXPECT_TRUE(Notes(171).empty());

    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(box, &in);
    box->setCursorPosition(2);
    muitest::Key(box, Qt::Key_5, "5");
    muitest::Key(box, Qt::Key_Return);
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(box, &out);  // already ended by Enter: no second 29

    EXPECT_EQ(Notes(171), (std::vector<Note>{{171, MUI::kNotifyEditBegin, 0},
                                             {171, MUI::kNotifyTextChanged, 0},
                                             {171, MUI::kNotifyEditEnded, 0}}));
    EXPECT_EQ(edit->GetTitle(), L"255");
}

TEST_F(EditTest, NumberOnlyEditRefusesOtherCharacters)
{
    auto* edit = Make<MUI::MEdit>(L"MEdit", 243, RECT{10, 10, 80, 34});
    edit->SetNumberOnly(true);
    edit->SetMaxLength(2);
    muitest::Pump();
    auto* box = qobject_cast<QLineEdit*>(edit->Widget());
    ASSERT_NE(box, nullptr);
    const std::pair<int, const char*> typed[] = {{Qt::Key_7, "7"},
                                                 {Qt::Key_X, "x"},
                                                 {Qt::Key_Minus, "-"},
                                                 {Qt::Key_3, "3"},
                                                 {Qt::Key_9, "9"}};
    for (const auto& [key, text] : typed) muitest::Key(box, key, text);
    EXPECT_EQ(edit->GetTitle(), L"73");
}

}  // namespace
