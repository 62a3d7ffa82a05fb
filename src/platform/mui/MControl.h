// MControl: the base of every control of a window.
//
// How a control is written:
//  * State. A control keeps everything it shows in plain members of its own. Every public
//    operation may be called from any thread: it takes the window lock (`auto lock = Lock();`),
//    changes the state, and calls Invalidate(), which posts a redraw to the UI thread (cheap;
//    repeated calls coalesce). Getters take the lock too and return copies.
//  * Widget. Qt widgets are touched only on the UI thread. There the library calls
//    CreateWidget(parent) once (the default gives a ControlWidget that paints through Paint()
//    and turns mouse input into the On* handlers below), then SyncWidget(widget) after each
//    Invalidate(), with the lock held. The default SyncWidget applies rectangle, visibility,
//    enabled state and tooltip and schedules a repaint; override it (calling the base) to push
//    more state into a real Qt widget. Paint() also runs on the UI thread with the lock held.
//  * Input. The On* mouse handlers run on the UI thread without the lock. They change state
//    (taking the lock themselves) and report to the owning dialog with Notify(code, value),
//    which reaches MDialog::OnMessage(id, code, value). Never call Notify() while holding the
//    lock: the dialog's handler may run a modal loop.
//  * Registration. A control class registers its name in its own .cpp with
//    MUI_REGISTER_CONTROL(ClassName) (ControlFactory.h), so MDialog::CreateControl and
//    MTabLayout create it by name.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include <QPointer>

#include "platform/mui/WindowTypes.h"

class QPainter;
class QWidget;

namespace MUI {

class MDialog;
class MControl;
class MWindow;

// Notification codes handed to MDialog::OnMessage.
inline constexpr int kNotifyClick = 2;  // click, selection made, slider released
inline constexpr int kNotifyDragging = 8;
inline constexpr int kNotifyItemDeleted = 18;
inline constexpr int kNotifyTextChanged = 26;
inline constexpr int kNotifyEditEnded = 29;
inline constexpr int kNotifyEditBegin = 30;

// Text alignment values (the Windows DrawText numbers).
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignCenter = 1;
inline constexpr int kAlignRight = 2;
inline constexpr int kVAlignTop = 0;
inline constexpr int kVAlignCenter = 4;
inline constexpr int kVAlignBottom = 8;

// Font style bits.
inline constexpr int kFontRegular = 0;
inline constexpr int kFontBold = 1;
inline constexpr int kFontItalic = 2;
inline constexpr int kFontUnderline = 4;

struct FontSpec {
    std::wstring face;  // empty: the application font; unknown faces fall back through fontconfig
    int size = 14;      // pixels
    int style = kFontRegular;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// A mouse event as a control sees it. x, y are relative to the control's rectangle; client is
// the same point in the window's client coordinates, screen in screen coordinates.
struct MouseEvent {
    enum Button { kNone = 0, kLeft = 1, kRight = 2, kMiddle = 3 };
    int x = 0;
    int y = 0;
    POINT client;
    POINT screen;
    Button button = kNone;  // the button that changed (down, up, double click)
    WPARAM keys = 0;        // MK_* flags of the buttons and modifiers held
    int wheelDelta = 0;     // multiples of 120, positive away from the user
};

// Keeps a control reachable from UI-thread code (widgets, posted redraws) that may outlive it.
// Guard holds the link locked while it uses the control; the control clears it when it dies.
class ControlLink {
public:
    explicit ControlLink(MControl* control) : control_(control) {}
    class Guard {
    public:
        explicit Guard(ControlLink& link) : lock_(link.mutex_), control_(link.control_) {}
        MControl* get() const { return control_; }
        explicit operator bool() const { return control_ != nullptr; }
        MControl* operator->() const { return control_; }

    private:
        std::unique_lock<std::recursive_mutex> lock_;
        MControl* control_;
    };
    void Detach()
    {
        std::lock_guard lock(mutex_);
        control_ = nullptr;
    }

private:
    std::recursive_mutex mutex_;
    MControl* control_;
};

class MControl {
public:
    MControl();
    virtual ~MControl();
    MControl(const MControl&) = delete;
    MControl& operator=(const MControl&) = delete;

    // Identity, fixed when the window creates the control.
    unsigned GetID() const { return id_; }
    const std::wstring& GetClassName() const { return className_; }
    MDialog* GetOwner() const { return owner_; }
    HWND GetOwnerHwnd() const;
    // The container this control was created in, or none for a direct child of the window.
    MControl* GetParentControl() const { return parent_; }
    // Areas are drawn elements that take no input (mouse events pass through to what is below).
    bool IsArea() const { return area_; }

    // Rectangle in the owning window's client coordinates (also inside containers).
    void SetRect(const RECT& rect);
    void SetRect(int left, int top, int right, int bottom);
    RECT GetRect() const;

    virtual void SetVisible(bool visible);
    bool IsVisible() const;  // the control's own flag
    // True when the control and every container it sits in are visible.
    bool IsShown() const;
    virtual void SetEnabled(bool enabled);
    bool IsEnabled() const;

    void SetTooltip(std::wstring_view text);
    std::wstring GetTooltip() const;

    virtual void SetTitle(std::wstring_view title);
    std::wstring GetTitle() const;

    void SetFont(std::wstring_view face, int size, int style);
    void SetTextSize(int size);
    FontSpec GetFont() const;

    virtual void SetTextColor(ARGB color);
    ARGB GetTextColor() const;
    virtual void SetBkColor(ARGB color);
    ARGB GetBkColor() const;  // 0 (transparent) unless set

    void SetAlignment(int align);    // kAlign*
    void SetVAlignment(int valign);  // kVAlign*
    int GetAlignment() const;
    int GetVAlignment() const;
    void SetMultiLine(bool multiLine);
    bool IsMultiLine() const;
    // The library's display style value (4 draws the text as a link, underlined).
    void SetStyle(int style);
    int GetStyle() const;

    // The picture, named relative to the skin root, split into `states` equal frames laid out
    // left to right (normal, hover, pressed, disabled, then the checked set for 8 states).
    virtual void SetImage(std::wstring_view name, int states = 1);
    std::wstring GetImage() const;
    int GetImageStates() const;

    // Paints the control as its widget does, (0, 0) at its top-left corner (takes the lock).
    void PaintInto(QPainter& painter);

    // Redraws the control (posted to the UI thread).
    virtual void UpdateControl(bool redraw = true, bool relayout = false);

    // Mouse state kept by the default widget, for drawing hover and pressed looks.
    bool IsHovered() const { return hovered_.load(); }
    bool IsPressed() const { return pressed_.load(); }
    // Frame of a 4-state strip: 0 normal, 1 hover, 2 pressed, 3 disabled.
    int ButtonState() const;

    // The window lock: one recursive mutex per window, shared by its controls.
    std::unique_lock<std::recursive_mutex> Lock() const;
    std::recursive_mutex& Mutex() const { return *mutex_; }

    // UI thread only: the control's widget, or none before it is created and after the
    // window is destroyed.
    QWidget* Widget() const;

protected:
    // Posts a redraw (SyncWidget) to the UI thread. Any thread, lock held or not.
    void Invalidate();
    // Delivers OnMessage(id, code, value) to the owning dialog: at once on the UI thread,
    // posted from any other thread. Never call with the lock held.
    void Notify(int code, LPARAM value = 0);

    // Widget hooks (UI thread). CreateWidget: no lock held. SyncWidget and Paint: lock held.
    virtual QWidget* CreateWidget(QWidget* parent);
    virtual void SyncWidget(QWidget* widget);
    // Paints the control into its own rectangle, (0, 0) at its top-left corner. The default
    // fills the background colour and draws the image and the title.
    virtual void Paint(QPainter& painter);

    // Input handlers of the default widget (UI thread, no lock held). The base ones do nothing.
    virtual void OnMouseDown(const MouseEvent& event);
    virtual void OnMouseUp(const MouseEvent& event);
    virtual void OnMouseDoubleClick(const MouseEvent& event);
    virtual void OnMouseMove(const MouseEvent& event);
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    virtual void OnMouseWheel(const MouseEvent& event);
    // A click: left button pressed and released inside the control while enabled.
    // The base sends kNotifyClick.
    virtual void OnClick(const MouseEvent& event);

    // Animation: while on, OnAnimationTick runs on the UI thread at each tick of the owning
    // dialog's animation timer (MDialog::SetMTimer), without the lock.
    void SetAnimated(bool animated);
    bool IsAnimated() const { return animated_.load(); }
    virtual void OnAnimationTick();

    // Called once on the UI thread after the control has joined its window (no lock held).
    virtual void OnCreated();

    std::shared_ptr<ControlLink> Link() const { return link_; }

private:
    friend class MDialog;
    friend class ControlWidget;
    friend void SyncDialogControls(MWindow* window);

    // Set by MDialog when it creates the control.
    void Attach(MDialog* owner, MControl* parent, unsigned id, std::wstring className, bool area);
    void RunSync();  // UI thread: create the widget if needed, then SyncWidget under the lock
    void DetachWidget();

    unsigned id_ = 0;
    std::wstring className_;
    MDialog* owner_ = nullptr;
    MControl* parent_ = nullptr;
    bool area_ = false;
    bool hasChildren_ = false;  // a container that controls were created in
    std::recursive_mutex ownMutex_;
    std::recursive_mutex* mutex_ = &ownMutex_;
    std::shared_ptr<ControlLink> link_;
    std::atomic<bool> syncPending_{false};
    std::atomic<bool> hovered_{false};
    std::atomic<bool> pressed_{false};
    std::atomic<bool> animated_{false};
    QPointer<QWidget> widget_;

    RECT rect_;
    bool visible_ = true;
    bool enabled_ = true;
    std::wstring tooltip_;
    std::wstring title_;
    FontSpec font_;
    ARGB textColor_ = 0xFF3E3E3E;
    ARGB bkColor_ = 0;
    int align_ = kAlignLeft;
    int valign_ = kVAlignCenter;
    bool multiLine_ = false;
    int style_ = 0;
    std::wstring image_;
    int imageStates_ = 1;
};

}  // namespace MUI
