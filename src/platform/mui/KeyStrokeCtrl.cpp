#include "platform/mui/KeyStrokeCtrl.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

constexpr int kFullLiveTravel = 40;
constexpr int kMargin = 10;
const QColor kTrack(0xE0, 0xE0, 0xE0);
const QColor kDeadZone(0xF0, 0xB0, 0x40);
const QColor kActuation(0x30, 0x80, 0xF0);
const QColor kLive(0x40, 0xC0, 0x60);

}  // namespace

KeyStrokeCtrl::KeyStrokeCtrl() = default;

void KeyStrokeCtrl::SetPrecision(const PRECISION& precision)
{
    auto lock = Lock();
    precision_ = precision;
    actuation_ = std::clamp(actuation_, 1, LastPosition());
    Invalidate();
}

PRECISION KeyStrokeCtrl::GetPrecision() const
{
    auto lock = Lock();
    return precision_;
}

int KeyStrokeCtrl::LastPosition() const
{
    const int step = std::max(1, precision_.Step());
    return std::max(1, travel_ / step);
}

void KeyStrokeCtrl::SetCurKeyActuation(int actuation)
{
    auto lock = Lock();
    actuation_ = std::clamp(actuation, 1, LastPosition());
    Invalidate();
}

int KeyStrokeCtrl::GetCurKeyActuation() const
{
    auto lock = Lock();
    return actuation_;
}

void KeyStrokeCtrl::SetKeyActuation(int travel)
{
    auto lock = Lock();
    liveTravel_ = std::clamp(travel, 0, kFullLiveTravel);
    Invalidate();
}

int KeyStrokeCtrl::GetKeyTravel() const
{
    auto lock = Lock();
    return liveTravel_;
}

void KeyStrokeCtrl::SetSwitchType(int switchType, int travel)
{
    auto lock = Lock();
    switchType_ = switchType;
    travel_ = std::max(1, travel);
    actuation_ = std::clamp(actuation_, 1, LastPosition());
    Invalidate();
}

int KeyStrokeCtrl::GetSwitchType() const
{
    auto lock = Lock();
    return switchType_;
}

int KeyStrokeCtrl::GetTravel() const
{
    auto lock = Lock();
    return travel_;
}

void KeyStrokeCtrl::SetDeadzoneValue(int top, int bottom)
{
    auto lock = Lock();
    deadTop_ = std::max(0, top);
    deadBottom_ = std::max(0, bottom);
    Invalidate();
}

void KeyStrokeCtrl::GetDeadzoneValue(int& top, int& bottom) const
{
    auto lock = Lock();
    top = deadTop_;
    bottom = deadBottom_;
}

void KeyStrokeCtrl::ShowDeadZone(bool shown)
{
    auto lock = Lock();
    deadZoneShown_ = shown;
    Invalidate();
}

bool KeyStrokeCtrl::IsDeadZoneShown() const
{
    auto lock = Lock();
    return deadZoneShown_;
}

void KeyStrokeCtrl::ShowRelkeystroke(bool shown)
{
    auto lock = Lock();
    relShown_ = shown;
    Invalidate();
}

bool KeyStrokeCtrl::IsRelkeystrokeShown() const
{
    auto lock = Lock();
    return relShown_;
}

void KeyStrokeCtrl::SetBottomrapidtriggerMode(int mode)
{
    auto lock = Lock();
    bottomMode_ = mode;
    Invalidate();
}

int KeyStrokeCtrl::GetBottomrapidtriggerMode() const
{
    auto lock = Lock();
    return bottomMode_;
}

int KeyStrokeCtrl::PositionFromY(int y) const
{
    const int usable = RectHeight(GetRect()) - 2 * kMargin;
    if (usable <= 0) return actuation_;
    const double at = static_cast<double>(y - kMargin) * LastPosition() / usable;
    return std::clamp(static_cast<int>(std::lround(at)), 1, LastPosition());
}

void KeyStrokeCtrl::MoveTo(int y, int code)
{
    int position = 0;
    {
        auto lock = Lock();
        position = PositionFromY(y);
        if (code == kNotifyDragging && dragging_ && position == actuation_) return;
        actuation_ = position;
        dragging_ = code == kNotifyDragging;
        Invalidate();
    }
    Notify(code, position);
}

void KeyStrokeCtrl::OnMouseDown(const MouseEvent& event)
{
    if (event.button != MouseEvent::kLeft || !IsEnabled()) return;
    {
        auto lock = Lock();
        dragging_ = false;
    }
    MoveTo(event.y, kNotifyDragging);
}

void KeyStrokeCtrl::OnMouseMove(const MouseEvent& event)
{
    bool dragging = false;
    {
        auto lock = Lock();
        dragging = dragging_;
    }
    if (dragging) MoveTo(event.y, kNotifyDragging);
}

void KeyStrokeCtrl::OnMouseUp(const MouseEvent& event)
{
    bool dragging = false;
    {
        auto lock = Lock();
        dragging = dragging_;
    }
    if (event.button == MouseEvent::kLeft && dragging) MoveTo(event.y, kNotifyClick);
}

void KeyStrokeCtrl::OnClick(const MouseEvent&)
{
    // The release already reported the actuation.
}

void KeyStrokeCtrl::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const int w = RectWidth(r);
    const int h = RectHeight(r) - 2 * kMargin;
    if (w <= 0 || h <= 0) return;
    const int last = LastPosition();
    const int barLeft = w / 2 - 6;
    auto yOf = [&](double fraction) { return kMargin + static_cast<int>(fraction * h); };
    painter.fillRect(QRect(barLeft, kMargin, 12, h), kTrack);
    if (deadZoneShown_) {
        const double step = std::max(1, precision_.Step());
        painter.fillRect(QRect(barLeft, kMargin, 12, yOf(deadTop_ * step / travel_) - kMargin),
                         kDeadZone);
        const int bottomTop = yOf(1.0 - deadBottom_ * step / travel_);
        painter.fillRect(QRect(barLeft, bottomTop, 12, kMargin + h - bottomTop), kDeadZone);
    }
    if (relShown_ && liveTravel_ > 0) {
        painter.fillRect(QRect(barLeft + 3, kMargin, 6,
                               yOf(static_cast<double>(liveTravel_) / kFullLiveTravel) - kMargin),
                         kLive);
    }
    const int y = yOf(static_cast<double>(actuation_) / last);
    painter.setPen(QPen(kActuation, 3));
    painter.drawLine(barLeft - 20, y, barLeft + 32, y);
    const double millimetres = actuation_ * precision_.Step() / 100.0;
    painter.drawText(QRect(barLeft + 40, y - 10, w - barLeft - 40, 20),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::asprintf("%0.2fmm", millimetres));
}

MUI_REGISTER_CONTROL(KeyStrokeCtrl)

}  // namespace MUI
