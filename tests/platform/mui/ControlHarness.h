// Shared pieces of the control tests: a dialog that records what its controls report, event
// pumping, and mouse and key input sent through the controls' Qt widgets.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QWidget>

#include "platform/mui/MDialog.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowMessages.h"

namespace muitest {

struct Note {
    unsigned id;
    int code;
    LPARAM value;
    friend bool operator==(const Note&, const Note&) = default;
};

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    friend bool operator==(const Posted&, const Posted&) = default;
};

class RecordingDialog : public MUI::MDialog {
public:
    std::vector<Note> notes;
    std::vector<Posted> posted;  // the program's own messages (WM_USER and up)
    std::function<void(const Note&)> onNote;

    int OnMessage(unsigned id, int code, LPARAM value) override
    {
        notes.push_back(Note{id, code, value});
        if (onNote) onNote(notes.back());
        return 1;
    }
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER && message < WM_APP) {
            posted.push_back(Posted{message, wParam, lParam});
            return 0;
        }
        return MDialog::OnWindowMessage(message, wParam, lParam);
    }
};

// Runs the event loop until `done` holds or the time runs out.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

inline void Pump()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void Press(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton)
{
    SendMouse(w, QEvent::MouseButtonPress, at, b, b);
}
inline void Move(QWidget* w, QPoint at, Qt::MouseButtons held = Qt::LeftButton)
{
    SendMouse(w, QEvent::MouseMove, at, Qt::NoButton, held);
}
inline void Release(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton)
{
    SendMouse(w, QEvent::MouseButtonRelease, at, b, Qt::NoButton);
}
inline void Click(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton)
{
    Press(w, at, b);
    Release(w, at, b);
}
inline void DoubleClick(QWidget* w, QPoint at)
{
    Click(w, at);
    SendMouse(w, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    Release(w, at);
}

inline void Key(QWidget* w, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// A window of 800 x 600 for the controls under test; the notifications go to `dialog`.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MUI::EnsureApplication();
        ASSERT_NE(dialog.Create(nullptr, L"ControlTest", WS_POPUP, 0, RECT{100, 100, 900, 700}),
                  nullptr);
    }
    void TearDown() override
    {
        dialog.DestroyWindow();
        Pump();
    }

    template <class T>
    T* Make(const wchar_t* className, unsigned id, RECT rect)
    {
        auto* control = dynamic_cast<T*>(dialog.CreateControl(className, id, rect));
        Pump();
        return control;
    }

    std::vector<Note> Notes(unsigned id) const
    {
        std::vector<Note> found;
        for (const Note& n : dialog.notes)
            if (n.id == id) found.push_back(n);
        return found;
    }

    RecordingDialog dialog;
};

}  // namespace muitest
