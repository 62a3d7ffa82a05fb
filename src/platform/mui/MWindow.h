// MWindow: a top-level (or child) window with a handle, a message queue served on the UI thread,
// timers and a modal loop. The virtual operations are declared in the library's slot order;
// the default OnWindowMessage turns the standard messages into the On* calls.
//
// Threads: Create, CenterWindow and ShowModal belong to the UI thread (Create and DestroyWindow
// called elsewhere run there and wait for it). Every other public operation may be called from
// any thread: state changes under the window lock and the Qt side is updated on the UI thread.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/mui/WindowMessages.h"
#include "platform/mui/WindowTypes.h"

class QWidget;

namespace MUI {

struct WindowCore;

class MWindow {
public:
    MWindow();
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;

    // Virtual operations, in slot order.
    virtual ~MWindow();
    virtual const wchar_t* GetWindowClassName() const;  // "MWindow"
    virtual const wchar_t* GetSuperClassName() const;   // none
    virtual bool ShowWindow(int command = SW_SHOW);
    // Every message reaches the window here; the base handles WM_CLOSE, WM_TIMER, WM_SIZE,
    // WM_NCLBUTTONDOWN (HTCAPTION: move), WM_SYSCOMMAND and the mouse messages.
    virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // True swallows the message before OnWindowMessage.
    virtual bool PreTranslateMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual int OnInitDialog();
    virtual int OnDestroyMessage();
    virtual POINT GetAirBladderPoint();
    virtual void OnMinimize();  // minimises the window
    virtual void OnMaximize();  // toggles between maximised and normal
    virtual void InitUI(const RECT& client);
    virtual void UISize(const RECT& client);
    virtual int OnMessage(unsigned id, int code, LPARAM value);
    // Asked when the user closes the window from outside (window manager); false keeps it.
    virtual bool OnUserCloseWindow();
    virtual int OnCreate();
    virtual void OnSize(WPARAM type, int width, int height);
    virtual int OnMouseMove(WPARAM flags, int x, int y);
    virtual int OnMouseLeave();
    virtual int OnMouseHover(WPARAM flags, int x, int y);
    virtual int OnMouseWheel(WPARAM flags, int delta, int x, int y);
    virtual int OnLButtonDown(WPARAM flags, int x, int y);
    virtual int OnLButtonUp(WPARAM flags, int x, int y);
    virtual int OnLButtonDblClk(WPARAM flags, int x, int y);
    virtual int OnRButtonDown(WPARAM flags, int x, int y);
    virtual int OnRButtonUp(WPARAM flags, int x, int y);
    virtual int OnRButtonDblClk(WPARAM flags, int x, int y);
    virtual int OnKeyDown(WPARAM key, LPARAM flags);
    virtual LRESULT OnNcHitTest(int x, int y);
    virtual int OnGetMinMaxInfo(void* info);
    virtual int OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    // Called with false when the window loses activation and true when it gains it.
    virtual LRESULT OnNcActivate(bool active);
    virtual int OnWindowPosChanging(void* pos);
    virtual int OnWindowPosChanged(void* pos);
    virtual int OnPaint();
    virtual void OnTimer(unsigned id);
    virtual int OnNcPaint();
    virtual void OnClose();
    virtual int OnDestroy();
    virtual void PostNcDestroy();
    // Destroys the window: timers stopped, handle released, widgets gone, a running modal loop
    // ended (result 0 unless an end was already asked for). Safe to call twice.
    virtual bool DestroyWindow();

    // Creates the window (hidden; ShowWindow or ShowModal shows it), then calls OnCreate,
    // InitUI(client rectangle) and OnInitDialog. `rect` is (left, top, right, bottom) in screen
    // coordinates, or in the parent's client coordinates for a WS_CHILD window. Returns the
    // handle, or none when the object already has a live window.
    HWND Create(HWND parent, std::wstring_view title, unsigned style, unsigned exStyle,
                const RECT& rect);
    HWND GetHWND() const;
    HWND GetParentHwnd() const;
    std::wstring GetWindowName() const;
    unsigned GetStyle() const;
    unsigned GetExStyle() const;

    // Centres on the reference window, else on the parent, else on the primary screen.
    void CenterWindow(HWND reference = nullptr);

    // Shows the window with `command` and runs a nested event loop until EndModal (DoOK,
    // DoCancel, WM_CLOSE) or DestroyWindow; then destroys the window (the virtual
    // DestroyWindow) and returns the result. The parent is disabled while the loop runs.
    // An end asked for before the loop starts ends it as soon as it starts. -1 without a window.
    int ShowModal(int command = SW_SHOW);
    // Any thread. Ends the running modal loop with `result`, or the next one to start.
    void EndModal(int result);
    bool IsModalRunning() const;

    bool EnableWindow(bool enable = true);
    bool IsWindowEnabled() const;
    bool IsWindowVisible() const;
    bool IsIconic() const;
    bool IsZoomed() const;

    // Window timers: OnTimer(id) runs on the UI thread every `elapseMs`; setting an id again
    // restarts it. After KillTimer returns no further OnTimer(id) starts.
    bool SetTimer(unsigned id, unsigned elapseMs);
    bool KillTimer(unsigned id);

    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    RECT GetWindowRect() const;  // screen coordinates
    RECT GetClientRect() const;  // (0, 0, width, height)
    bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    bool MoveWindow(const RECT& rect);

    // The window lock, shared with the window's controls.
    std::recursive_mutex& Mutex() const;

    // UI thread: the window keeps only the rounded rectangle from (left, top) to (right,
    // bottom) of its client area, corners of ellipseWidth x ellipseHeight; false without a
    // window.
    bool SetWindowRgn(const RECT& rect, int ellipseWidth, int ellipseHeight);

    // UI thread only: the window's Qt widget, none before Create and after DestroyWindow.
    QWidget* GetWidget() const;

    // The object behind a handle of this process, or none.
    static MWindow* FromHandle(HWND hwnd);

protected:
    // Library internals shared with MDialog and the window widget.
    WindowCore& Core() const { return *core_; }

private:
    friend class WindowWidget;
    friend struct WindowCore;
    std::shared_ptr<WindowCore> core_;
};

}  // namespace MUI
