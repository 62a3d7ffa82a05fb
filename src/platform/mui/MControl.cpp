#include "platform/mui/MControl.h"

#include <QPainter>
#include <QWidget>

#include "platform/mui/ControlWidget.h"
#include "platform/mui/DialogCore.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowCore.h"

namespace MUI {

MControl::MControl() : link_(std::make_shared<ControlLink>(this)) {}

MControl::~MControl()
{
    link_->Detach();
    if (IsUiThread() && widget_) widget_->deleteLater();
}

HWND MControl::GetOwnerHwnd() const { return owner_ ? owner_->GetHWND() : nullptr; }

void MControl::Attach(MDialog* owner, MControl* parent, unsigned id, std::wstring className,
                      bool area)
{
    owner_ = owner;
    parent_ = parent;
    id_ = id;
    className_ = std::move(className);
    area_ = area;
    mutex_ = &owner->Mutex();
}

std::unique_lock<std::recursive_mutex> MControl::Lock() const
{
    return std::unique_lock<std::recursive_mutex>(*mutex_);
}

void MControl::SetRect(const RECT& rect)
{
    bool moveChildren;
    {
        auto lock = Lock();
        moveChildren = hasChildren_ && !(rect_ == rect);
        rect_ = rect;
        Invalidate();
    }
    // Children are placed relative to their container's widget.
    if (moveChildren && owner_)
        for (MControl* control : owner_->GetControls())
            if (control->parent_ == this) control->Invalidate();
}

void MControl::SetRect(int left, int top, int right, int bottom)
{
    SetRect(RECT{left, top, right, bottom});
}

RECT MControl::GetRect() const
{
    auto lock = Lock();
    return rect_;
}

void MControl::SetVisible(bool visible)
{
    auto lock = Lock();
    visible_ = visible;
    Invalidate();
}

bool MControl::IsVisible() const
{
    auto lock = Lock();
    return visible_;
}

bool MControl::IsShown() const
{
    auto lock = Lock();
    return visible_ && (!parent_ || parent_->IsShown());
}

void MControl::SetEnabled(bool enabled)
{
    auto lock = Lock();
    enabled_ = enabled;
    Invalidate();
}

bool MControl::IsEnabled() const
{
    auto lock = Lock();
    return enabled_;
}

void MControl::SetTooltip(std::wstring_view text)
{
    auto lock = Lock();
    tooltip_ = text;
    Invalidate();
}

std::wstring MControl::GetTooltip() const
{
    auto lock = Lock();
    return tooltip_;
}

void MControl::SetTitle(std::wstring_view title)
{
    auto lock = Lock();
    title_ = title;
    Invalidate();
}

std::wstring MControl::GetTitle() const
{
    auto lock = Lock();
    return title_;
}

void MControl::SetFont(std::wstring_view face, int size, int style)
{
    auto lock = Lock();
    font_ = FontSpec{std::wstring(face), size, style};
    Invalidate();
}

void MControl::SetTextSize(int size)
{
    auto lock = Lock();
    font_.size = size;
    Invalidate();
}

FontSpec MControl::GetFont() const
{
    auto lock = Lock();
    return font_;
}

void MControl::SetTextColor(ARGB color)
{
    auto lock = Lock();
    textColor_ = color;
    Invalidate();
}

ARGB MControl::GetTextColor() const
{
    auto lock = Lock();
    return textColor_;
}

void MControl::SetBkColor(ARGB color)
{
    auto lock = Lock();
    bkColor_ = color;
    Invalidate();
}

ARGB MControl::GetBkColor() const
{
    auto lock = Lock();
    return bkColor_;
}

void MControl::SetAlignment(int align)
{
    auto lock = Lock();
    align_ = align;
    Invalidate();
}

void MControl::SetVAlignment(int valign)
{
    auto lock = Lock();
    valign_ = valign;
    Invalidate();
}

int MControl::GetAlignment() const
{
    auto lock = Lock();
    return align_;
}

int MControl::GetVAlignment() const
{
    auto lock = Lock();
    return valign_;
}

void MControl::SetMultiLine(bool multiLine)
{
    auto lock = Lock();
    multiLine_ = multiLine;
    Invalidate();
}

bool MControl::IsMultiLine() const
{
    auto lock = Lock();
    return multiLine_;
}

void MControl::SetStyle(int style)
{
    auto lock = Lock();
    style_ = style;
    Invalidate();
}

int MControl::GetStyle() const
{
    auto lock = Lock();
    return style_;
}

void MControl::SetImage(std::wstring_view name, int states)
{
    auto lock = Lock();
    image_ = name;
    imageStates_ = states < 1 ? 1 : states;
    Invalidate();
}

std::wstring MControl::GetImage() const
{
    auto lock = Lock();
    return image_;
}

int MControl::GetImageStates() const
{
    auto lock = Lock();
    return imageStates_;
}

void MControl::UpdateControl(bool, bool) { Invalidate(); }

void MControl::PaintInto(QPainter& painter)
{
    auto lock = Lock();
    Paint(painter);
}

int MControl::ButtonState() const
{
    if (!IsEnabled()) return 3;
    if (pressed_.load()) return 2;
    if (hovered_.load()) return 1;
    return 0;
}

QWidget* MControl::Widget() const { return widget_.data(); }

void MControl::Invalidate()
{
    if (!owner_) return;
    if (syncPending_.exchange(true)) return;
    PostToUiThread([link = link_] {
        ControlLink::Guard control(*link);
        if (control) control->RunSync();
    });
}

void MControl::RunSync()
{
    syncPending_.store(false);
    if (!widget_) {
        // Creates the widgets of this control and of every one made before it, then syncs them.
        if (owner_) SyncDialogControls(owner_);
        return;
    }
    auto lock = Lock();
    SyncWidget(widget_);
}

void MControl::DetachWidget()
{
    widget_ = nullptr;
    hovered_.store(false);
    pressed_.store(false);
}

void MControl::Notify(int code, LPARAM value)
{
    if (!owner_) return;
    const HWND hwnd = owner_->GetHWND();
    if (!hwnd) return;
    const unsigned id = id_;
    auto deliver = [hwnd, id, code, value] {
        auto core = FindCore(hwnd);
        if (!core) return;
        MWindow* window;
        {
            std::lock_guard lock(core->mutex);
            window = core->window;
        }
        if (window) window->OnMessage(id, code, value);
    };
    if (IsUiThread())
        deliver();
    else
        PostToUiThread(deliver);
}

QWidget* MControl::CreateWidget(QWidget* parent) { return new ControlWidget(link_, parent); }

void MControl::SyncWidget(QWidget* widget)
{
    RECT r = rect_;
    if (parent_) {
        const RECT p = parent_->GetRect();
        r = RECT{r.left - p.left, r.top - p.top, r.right - p.left, r.bottom - p.top};
    }
    widget->setGeometry(ToQRect(r));
    widget->setEnabled(enabled_);
    widget->setToolTip(ToQString(tooltip_));
    widget->setAttribute(Qt::WA_TransparentForMouseEvents, area_);
    widget->setVisible(visible_);
    widget->update();
}

void MControl::Paint(QPainter& painter)
{
    const QRect area(0, 0, RectWidth(rect_), RectHeight(rect_));
    if (bkColor_ >> 24) painter.fillRect(area, ToQColor(bkColor_));
    if (!image_.empty()) {
        const int frame = imageStates_ > 1 ? ButtonState() : 0;
        DrawStateImage(painter, area, LoadSkinImage(image_), imageStates_, frame);
    }
    DrawControlText(painter, area, title_, font_, textColor_, align_, valign_, multiLine_, style_);
}

void MControl::OnMouseDown(const MouseEvent&) {}
void MControl::OnMouseUp(const MouseEvent&) {}
void MControl::OnMouseDoubleClick(const MouseEvent&) {}
void MControl::OnMouseMove(const MouseEvent&) {}
void MControl::OnMouseEnter() {}
void MControl::OnMouseLeave() {}
void MControl::OnMouseWheel(const MouseEvent&) {}
void MControl::OnClick(const MouseEvent&) { Notify(kNotifyClick, 0); }

void MControl::SetAnimated(bool animated)
{
    if (animated_.exchange(animated) != animated && owner_ != nullptr) {
        owner_->OnControlAnimationChanged();
    }
}
void MControl::OnAnimationTick() {}
void MControl::OnCreated() {}

}  // namespace MUI
