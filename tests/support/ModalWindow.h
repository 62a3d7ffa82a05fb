// Answers a modal window the code under test opens: the action runs on the UI thread once a
// window of that name is up and its modal loop runs.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "platform/mui/MWindow.h"
#include "platform/mui/WindowServices.h"

namespace testsupport {

inline void WhenModalWindowUp(const std::wstring& name, std::function<void(HWND)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, name, action] {
        const HWND hwnd = MUI::FindWindow(L"", name);
        MUI::MWindow* window = MUI::MWindow::FromHandle(hwnd);
        if (window == nullptr || !window->IsModalRunning()) return;
        poll->stop();
        poll->deleteLater();
        action(hwnd);
    });
    poll->start(5);
}

}  // namespace testsupport
