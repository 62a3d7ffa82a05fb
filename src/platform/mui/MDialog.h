// MDialog: a window that holds controls, made by class name with numeric ids, and delivers
// their notifications to OnMessage(id, code, value). Also the window's look: background
// picture and colours, layered flag, drag by body, a transient message.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/MControl.h"
#include "platform/mui/MWindow.h"

class QPainter;
class QRect;

namespace MUI {

struct DialogCore;

class MDialog : public MWindow {
public:
    MDialog();
    ~MDialog() override;

    // Creates a control of a registered class inside the window; `text` becomes its title.
    // The two trailing values are kept for the library's callers and have no effect.
    // Returns none for an unknown class name. An area takes no input.
    MControl* CreateControl(std::wstring_view className, unsigned id, const RECT& rect = {},
                            std::wstring_view text = {}, int reserved1 = 1, int reserved2 = 1);
    MControl* CreateArea(std::wstring_view className, unsigned id, const RECT& rect = {},
                         std::wstring_view text = {}, int reserved1 = 1, int reserved2 = 1);
    // Used by containers: the same, with the container as the new control's parent.
    MControl* CreateChild(MControl* parent, std::wstring_view className, unsigned id,
                          const RECT& rect, std::wstring_view text, bool area);

    // The control with the id (the first one created with it), or none.
    MControl* GetControl(unsigned id) const;
    template <class T>
    T* GetControlAs(unsigned id) const
    {
        return dynamic_cast<T*>(GetControl(id));
    }
    // Every control, in creation order.
    std::vector<MControl*> GetControls() const;

    // Ends the modal run with 1 (DoOK) or 2 (DoCancel). Any thread; an end asked for before
    // the loop starts ends it as soon as it starts.
    void DoOK();
    void DoCancel();

    // The library's animation timer: every `periodMs` each animated control gets its tick.
    // 0 stops it. The timer runs only while a control is animated, so a window with nothing
    // to animate is not woken.
    void SetMTimer(unsigned periodMs);
    // Starts or stops the timer after a control of this dialog changed its animation. Any
    // thread.
    void OnControlAnimationChanged();
    bool AnyControlAnimated() const;

    // Background: filled with `fill`, framed with `border` (RGB or ARGB; an alpha of 0 counts
    // as opaque), then the picture drawn over the whole client area. With SetBackMode(1, n)
    // the picture is stretched keeping n-pixel corners unscaled.
    void LoadBKImage(std::wstring_view name);
    std::wstring GetBKImage() const;
    void SetBackMode(int mode, int corner);
    void SetBackColor(ARGB fill, ARGB border);
    // Layered: the window has a transparent background where nothing is drawn.
    void SetLayered(bool layered);
    bool IsLayered() const;
    // Drag by body: a left press on the window's background (not on a control) moves it.
    void EnableWindowDrag(bool enable);
    bool IsWindowDragEnabled() const;

    // Shows `text` over the window for a short while (empty hides it).
    void SetMessage(std::wstring_view text, int durationMs = 2000);
    std::wstring GetMessageText() const;

    // Gives the control keyboard focus (posted to the UI thread).
    void SetFocusControl(MControl* control);

    // The base maps the window buttons: id 36 clicked maximises or restores, 37 minimises.
    int OnMessage(unsigned id, int code, LPARAM value) override;
    bool DestroyWindow() override;

protected:
    DialogCore& Dialog() const { return *dialog_; }

private:
    friend class MControl;
    friend void PaintDialogBackground(MWindow* window, QPainter& painter, const QRect& area);
    std::unique_ptr<DialogCore> dialog_;
};

}  // namespace MUI
