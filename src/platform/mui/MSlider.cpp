#include "platform/mui/MSlider.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MSlider::MSlider() = default;

void MSlider::SetRange(int minimum, int maximum)
{
    auto lock = Lock();
    min_ = std::min(minimum, maximum);
    max_ = std::max(minimum, maximum);
    pos_ = std::clamp(pos_, min_, max_);
    Invalidate();
}

int MSlider::GetRangeMin() const
{
    auto lock = Lock();
    return min_;
}

int MSlider::GetRangeMax() const
{
    auto lock = Lock();
    return max_;
}

void MSlider::SetPos(int pos)
{
    auto lock = Lock();
    pos_ = std::clamp(pos, min_, max_);
    Invalidate();
}

int MSlider::GetPos() const
{
    auto lock = Lock();
    return pos_;
}

void MSlider::SetPrecision(const PRECISION& precision)
{
    auto lock = Lock();
    precision_ = precision;
}

PRECISION MSlider::GetPrecision() const
{
    auto lock = Lock();
    return precision_;
}

void MSlider::SetBarColor(ARGB color)
{
    auto lock = Lock();
    bar_ = color;
    Invalidate();
}

ARGB MSlider::GetBarColor() const
{
    auto lock = Lock();
    return bar_;
}

void MSlider::SetTrackColor(ARGB color)
{
    auto lock = Lock();
    track_ = color;
    Invalidate();
}

bool MSlider::IsDragging() const
{
    auto lock = Lock();
    return dragging_;
}

int MSlider::ThumbWidth() const
{
    const int h = RectHeight(GetRect());
    const QImage thumb = LoadSkinImage(GetImage());
    if (thumb.isNull()) return std::min(h, 16);
    const int states = std::max(GetImageStates(), 1);
    const int frameWidth = thumb.width() / states;
    const int thumbHeight = std::min(h, thumb.height());
    return thumb.height() > 0 ? frameWidth * thumbHeight / thumb.height() : thumbHeight;
}

int MSlider::PosFromX(int x) const
{
    const int thumb = ThumbWidth();
    const int usable = RectWidth(GetRect()) - thumb;
    if (usable <= 0 || max_ == min_) return min_;
    const double at = (x - thumb / 2.0) * (max_ - min_) / usable;
    return std::clamp(min_ + static_cast<int>(std::lround(at)), min_, max_);
}

void MSlider::MoveTo(int x, int code)
{
    int pos = 0;
    {
        auto lock = Lock();
        pos = PosFromX(x);
        if (code == kNotifyDragging && pos == pos_ && dragging_) return;
        pos_ = pos;
        dragging_ = code == kNotifyDragging;
        Invalidate();
    }
    Notify(code, pos);
}

void MSlider::OnMouseDown(const MouseEvent& event)
{
    if (event.button != MouseEvent::kLeft || !IsEnabled()) return;
    {
        auto lock = Lock();
        dragging_ = false;
    }
    MoveTo(event.x, kNotifyDragging);
}

void MSlider::OnMouseMove(const MouseEvent& event)
{
    if (!IsDragging()) return;
    MoveTo(event.x, kNotifyDragging);
}

void MSlider::OnMouseUp(const MouseEvent& event)
{
    if (event.button != MouseEvent::kLeft || !IsDragging()) return;
    MoveTo(event.x, kNotifyClick);
}

void MSlider::OnClick(const MouseEvent&)
{
    // The release already reported the position.
}

void MSlider::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const int w = RectWidth(r);
    const int h = RectHeight(r);
    const int thumb = ThumbWidth();
    const double span = std::max(1, max_ - min_);
    const int thumbLeft = static_cast<int>((w - thumb) * (pos_ - min_) / span);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(thumb / 2.0, h / 2.0 - 2, std::max(0, w - thumb), 4);
    QPainterPath all;
    all.addRoundedRect(track, 2, 2);
    painter.fillPath(all, ToQColor(track_));
    QPainterPath done;
    done.addRoundedRect(QRectF(track.left(), track.top(), thumbLeft, track.height()), 2, 2);
    painter.fillPath(done, IsEnabled() ? ToQColor(bar_) : QColor(0xB0, 0xB0, 0xB0));

    const QImage image = LoadSkinImage(GetImage());
    const int thumbHeight = image.isNull() ? thumb : std::min(h, image.height());
    const QRect thumbRect(thumbLeft, (h - thumbHeight) / 2, thumb, thumbHeight);
    if (!image.isNull()) {
        DrawStateImage(painter, thumbRect, image, GetImageStates(), ButtonState());
    } else {
        painter.setBrush(QColor(255, 255, 255));
        painter.setPen(QPen(ToQColor(bar_), 1.5));
        painter.drawEllipse(QRectF(thumbRect).adjusted(1, 1, -1, -1));
    }
}

MUI_REGISTER_CONTROL(MSlider)

}  // namespace MUI
