#include "platform/mui/CirclePalette.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QConicalGradient>
#include <QPainter>
#include <QRadialGradient>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/DrawPicture.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

namespace {

// Hue in degrees counter-clockwise from the right, saturation 0..1, full value.
QColor WheelColor(double dx, double dy)
{
    double hue = std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
    if (hue < 0) hue += 360.0;
    const double sat = std::min(1.0, std::hypot(dx, dy));
    return QColor::fromHsvF(static_cast<float>(std::fmod(hue, 360.0) / 360.0),
                            static_cast<float>(sat), 1.0f);
}

}  // namespace

CirclePalette::Wheel CirclePalette::GetWheel() const
{
    const RECT r = GetRect();
    const double w = RectWidth(r);
    const double h = RectHeight(r);
    return Wheel{w / 2.0, h / 2.0, std::max(1.0, std::min(w, h) / 2.0)};
}

void CirclePalette::SetColor(COLORREF color)
{
    auto lock = Lock();
    color_ = color & 0xFFFFFF;
    const QColor c = ColorRefToQColor(color_);
    const double hue = std::max(0.0f, c.hsvHueF()) * 2.0 * std::numbers::pi;
    const double sat = c.hsvSaturationF();
    markerX_ = sat * std::cos(hue);
    markerY_ = -sat * std::sin(hue);
    Invalidate();
}

COLORREF CirclePalette::GetColor() const
{
    auto lock = Lock();
    return color_;
}

bool CirclePalette::ColorAt(int x, int y, COLORREF* color) const
{
    auto lock = Lock();
    const Wheel wheel = GetWheel();
    const double dx = (x + 0.5 - wheel.cx) / wheel.radius;
    const double dy = (y + 0.5 - wheel.cy) / wheel.radius;
    if (std::hypot(dx, dy) > 1.0) return false;
    if (color) *color = QColorToColorRef(WheelColor(dx, dy));
    return true;
}

bool CirclePalette::Pick(int x, int y)
{
    COLORREF picked = 0;
    if (!ColorAt(x, y, &picked)) return false;
    auto lock = Lock();
    const QImage image = LoadSkinImage(GetImage());
    if (!image.isNull()) {
        // The colour the user sees: the picture's pixel under the mouse.
        const RECT r = GetRect();
        const int px = x * image.width() / std::max(1, RectWidth(r));
        const int py = y * image.height() / std::max(1, RectHeight(r));
        if (image.valid(px, py)) {
            const QColor pixel = image.pixelColor(px, py);
            if (pixel.alpha() < 128) return false;
            picked = QColorToColorRef(pixel);
        }
    }
    const Wheel wheel = GetWheel();
    color_ = picked;
    markerX_ = (x + 0.5 - wheel.cx) / wheel.radius;
    markerY_ = (y + 0.5 - wheel.cy) / wheel.radius;
    Invalidate();
    return true;
}

void CirclePalette::OnMouseDown(const MouseEvent& event)
{
    if (event.button != MouseEvent::kLeft || !IsEnabled()) return;
    if (!Pick(event.x, event.y)) return;
    {
        auto lock = Lock();
        dragging_ = true;
    }
    Notify(kNotifyDragging, static_cast<LPARAM>(GetColor()));
}

void CirclePalette::OnMouseMove(const MouseEvent& event)
{
    {
        auto lock = Lock();
        if (!dragging_) return;
    }
    if (Pick(event.x, event.y)) Notify(kNotifyDragging, static_cast<LPARAM>(GetColor()));
}

void CirclePalette::OnMouseUp(const MouseEvent& event)
{
    {
        auto lock = Lock();
        if (!dragging_ || event.button != MouseEvent::kLeft) return;
        dragging_ = false;
    }
    Pick(event.x, event.y);
    Notify(kNotifyClick, static_cast<LPARAM>(GetColor()));
}

void CirclePalette::OnClick(const MouseEvent&)
{
    // The release already reported the colour.
}

void CirclePalette::Paint(QPainter& painter)
{
    const Wheel wheel = GetWheel();
    const QRectF circle(wheel.cx - wheel.radius, wheel.cy - wheel.radius, 2 * wheel.radius,
                        2 * wheel.radius);
    painter.setRenderHint(QPainter::Antialiasing);
    const QImage image = LoadSkinImage(GetImage());
    if (!image.isNull()) {
        const RECT r = GetRect();
        DrawPicture(painter, QRect(0, 0, RectWidth(r), RectHeight(r)), image);
    } else {
        QConicalGradient hues(circle.center(), 0);
        for (int i = 0; i <= 6; ++i) hues.setColorAt(i / 6.0, QColor::fromHsvF(i / 6.0f, 1, 1));
        painter.setPen(Qt::NoPen);
        painter.setBrush(hues);
        painter.drawEllipse(circle);
        QRadialGradient white(circle.center(), wheel.radius);
        white.setColorAt(0, QColor(255, 255, 255));
        white.setColorAt(1, QColor(255, 255, 255, 0));
        painter.setBrush(white);
        painter.drawEllipse(circle);
    }
    const QPointF marker(wheel.cx + markerX_ * wheel.radius, wheel.cy + markerY_ * wheel.radius);
    painter.setBrush(ColorRefToQColor(color_));
    painter.setPen(QPen(QColor(255, 255, 255), 2));
    painter.drawEllipse(marker, 6, 6);
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(marker, 7.5, 7.5);
}

MUI_REGISTER_CONTROL(CirclePalette)

}  // namespace MUI
