// The state of one window, shared between the MWindow object, its handle in the window
// registry, its Qt widget and work posted to the UI thread, so that any of them may outlive the
// others. Everything but the UI-side members is guarded by `mutex` (the window lock).
#pragma once

#include <QPointer>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/mui/WindowTypes.h"

class QEventLoop;
class QTimer;

namespace MUI {

class MWindow;
class WindowWidget;

struct WindowCore : std::enable_shared_from_this<WindowCore> {
    std::recursive_mutex mutex;

    MWindow* window = nullptr;  // the object; none once it is destroyed
    HWND hwnd = nullptr;        // none while no live window exists
    HWND parent = nullptr;
    std::wstring className;
    std::wstring name;
    unsigned style = 0;
    unsigned exStyle = 0;

    // Outer rectangle: screen coordinates, or the parent's client coordinates for a child.
    RECT rect;
    RECT normalRect;  // the rectangle to restore after maximising
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool maximized = false;
    bool topmost = false;
    std::map<std::wstring, LPARAM, std::less<>> props;

    struct Timer {
        unsigned period = 0;
        std::uint64_t generation = 0;
    };
    std::map<unsigned, Timer> timers;
    std::uint64_t timerGeneration = 0;

    // Modal run.
    QEventLoop* loop = nullptr;  // set while ShowModal's loop runs (UI thread)
    bool endPending = false;     // an end asked for while no loop ran, or while one ends
    int endResult = 0;

    // UI thread only.
    QPointer<WindowWidget> widget;
    std::map<unsigned, QPointer<QTimer>> qtTimers;
    SIZE lastClientSize;

    bool IsChild() const;
    // The rectangle in screen coordinates (a child's is moved by its parent's position).
    RECT ScreenRect();
    RECT ClientRect();

    // Any thread: state changes, then the widget follows on the UI thread.
    bool Show(int command);
    bool Enable(bool enable);
    void SetRect(const RECT& rect);
    void SetTopmost(bool topmost);
    bool StartTimer(unsigned id, unsigned period);
    bool StopTimer(unsigned id);
    void EndModal(int result);

    // UI thread: brings the widget in line with the state.
    void ApplyToWidget();
    void ApplyTimer(unsigned id);
    void PostApply();
    // Raises the top-level window, and activates it when asked (no-op for a child window and
    // on platforms without window stacking).
    void Raise(bool activate);

    // UI thread: hands a message to the window object; 0 when it is gone.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

// Runs `message` for the window behind `hwnd` on the UI thread (now or posted).
std::shared_ptr<WindowCore> FindCore(HWND hwnd);

}  // namespace MUI
