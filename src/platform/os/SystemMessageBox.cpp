#include "platform/os/SystemMessageBox.h"

#include <QMessageBox>
#include <mutex>

#include "platform/os/TestAnswers.h"

namespace os {
namespace {

using Handler = std::function<int(const std::wstring&, const std::wstring&, unsigned)>;

std::mutex& HandlerMutex()
{
    static std::mutex mutex;
    return mutex;
}

Handler& CurrentHandler()
{
    static Handler handler;
    return handler;
}

QMessageBox::Icon IconOf(unsigned type)
{
    switch (type & 0xF0) {
        case kMbIconError:
            return QMessageBox::Critical;
        case kMbIconQuestion:
            return QMessageBox::Question;
        case kMbIconWarning:
            return QMessageBox::Warning;
        case kMbIconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int SystemMessageBox(const std::wstring& text, const std::wstring& caption, unsigned type)
{
    Handler handler;
    {
        std::lock_guard<std::mutex> lock(HandlerMutex());
        handler = CurrentHandler();
    }
    if (handler) {
        return handler(text, caption, type);
    }
    if (const std::optional<int> answer = TestMessageAnswer(text, caption)) {
        return *answer;
    }
    QMessageBox box(IconOf(type), QString::fromStdWString(caption), QString::fromStdWString(text));
    switch (type & 0xF) {
        case kMbOkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case kMbYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return kIdOk;
        case QMessageBox::Yes:
            return kIdYes;
        case QMessageBox::No:
            return kIdNo;
        case QMessageBox::Cancel:
            return kIdCancel;
        default:
            return (type & 0xF) == kMbYesNo ? kIdNo : (type & 0xF) == kMbOk ? kIdOk : kIdCancel;
    }
}

void SetSystemMessageBoxHandler(Handler handler)
{
    std::lock_guard<std::mutex> lock(HandlerMutex());
    CurrentHandler() = std::move(handler);
}

}  // namespace os
