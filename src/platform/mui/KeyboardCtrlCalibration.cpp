// The calibration mode of the performance page's key view and the drawing of each key's live
// travel or calibration values over its cap.
#include <algorithm>
#include <string>

#include <QPainter>

#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

constexpr int kFullTravel = 40;
constexpr int kValueTextSize = 8;
const QColor kTravelBar(0x21, 0xA9, 0x39, 200);
const QColor kCalibrationBar(0x1E, 0x9F, 0xFF, 200);
const QColor kNotReported(0xF0, 0x80, 0x30, 160);
const QColor kCalibratedTint(0x1E, 0x9F, 0xFF, 60);

}  // namespace

void KeyboardCtrl::SetKeyboardCtrlMode(int mode)
{
    auto guard = Guard();
    ctrlMode_ = mode;
    Invalidate();
}

int KeyboardCtrl::GetKeyboardCtrlMode() const
{
    auto guard = Guard();
    return ctrlMode_;
}

bool KeyboardCtrl::SetKeyCalibration(int code, int travel, int value, int number, int referenceSpan)
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    if (index < 0) return false;
    KeyItem& key = keys_[static_cast<size_t>(index)];
    key.calibration = {true, std::clamp(travel, 0, kFullTravel), value, number, referenceSpan};
    key.travel = key.calibration.travel;
    Invalidate();
    return true;
}

KeyCalibration KeyboardCtrl::GetKeyCalibration(int code) const
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    return index < 0 ? KeyCalibration{} : keys_[static_cast<size_t>(index)].calibration;
}

void KeyboardCtrl::ResetKeyCalibration()
{
    auto guard = Guard();
    for (auto& key : keys_) {
        key.calibration = {};
        key.travel = 0;
    }
    Invalidate();
}

void KeyboardCtrl::PaintKeyTravel(QPainter& painter, const KeyItem& key) const
{
    const QRectF box(key.rect.left, key.rect.top, RectWidth(key.rect), RectHeight(key.rect));
    if (box.width() <= 0 || box.height() <= 0) return;
    const bool calibrating = ctrlMode_ == kModeCalibration;
    if (!calibrating && key.travel <= 0) return;
    // A bar down the cap's right edge, as deep as the key is pressed.
    const QRectF track = box.adjusted(box.width() - 8, 4, -3, -6);
    if (calibrating && !key.calibration.reported) {
        // Not pressed down yet: the key still waits for its calibration.
        painter.fillRect(QRectF(track.left(), track.top(), track.width(), 3), kNotReported);
        return;
    }
    const double depth = track.height() * std::clamp(key.travel, 0, kFullTravel) / kFullTravel;
    painter.fillRect(QRectF(track.left(), track.top(), track.width(), depth),
                     calibrating ? kCalibrationBar : kTravelBar);
    if (!calibrating) return;
    // Calibrated: the cap is tinted and its lower edge carries the keyboard's number.
    const QRectF face = box.adjusted(4, 3, -9, -6);
    painter.fillRect(face, kCalibratedTint);
    const QRectF band(face.left(), face.bottom() - face.height() * 0.36, face.width(),
                      face.height() * 0.36);
    painter.fillRect(band, kCalibrationBar);
    FontSpec font = GetFont();
    font.size = kValueTextSize;
    DrawControlText(painter, band.toRect(), std::to_wstring(key.calibration.number), font,
                    0xFFFFFFFF, kAlignCenter, kVAlignCenter, false);
}

}  // namespace MUI
