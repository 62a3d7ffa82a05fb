#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/os/SystemMessageBox.h"

namespace {

// Presses the button with that role of the message box once it is up; an empty role closes it.
void AnswerBox(QMessageBox::ButtonRole role, bool close = false)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, role, close] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (close) {
            box->close();
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (box->buttonRole(button) == role) {
                button->click();
                return;
            }
        }
    });
    poll->start(10);
}

TEST(SystemMessageBox, ReturnsTheWindowsIdOfTheButton)
{
    AnswerBox(QMessageBox::AcceptRole);
    EXPECT_EQ(os::SystemMessageBox(L"GetDpiForMonitor failed", L"Notification", os::kMbOk),
              os::kIdOk);
    AnswerBox(QMessageBox::NoRole);
    EXPECT_EQ(os::SystemMessageBox(L"Sure?", L"Q", os::kMbYesNo | os::kMbIconQuestion), os::kIdNo);
    AnswerBox(QMessageBox::YesRole);
    EXPECT_EQ(os::SystemMessageBox(L"Sure?", L"Q", os::kMbYesNo), os::kIdYes);
    AnswerBox(QMessageBox::RejectRole, true);
    EXPECT_EQ(os::SystemMessageBox(L"Go on?", L"Q", os::kMbOkCancel), os::kIdCancel);
}

TEST(SystemMessageBox, HandlerStandsInForTheBox)
{
    std::wstring seen;
    os::SetSystemMessageBoxHandler([&](const std::wstring& text, const std::wstring&, unsigned) {
        seen = text;
        return os::kIdYes;
    });
    EXPECT_EQ(os::SystemMessageBox(L"hello", L"c", os::kMbYesNo), os::kIdYes);
    os::SetSystemMessageBoxHandler({});
    EXPECT_EQ(seen, L"hello");
}

}  // namespace
