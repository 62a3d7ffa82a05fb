#include "platform/mui/KeyboardTestCtrl.h"

#include <QPainter>
#include <algorithm>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/DrawPicture.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MUI_REGISTER_CONTROL(KeyboardTestCtrl)

namespace {

// Faces and inks by state: untouched, pressed and let go, held down.
constexpr ARGB kFace[] = {0xFFFFFFFF, 0xFFBFE8C9, 0xFF21A939};
constexpr ARGB kInk[] = {0xFF3E3E3E, 0xFF1E5E2E, 0xFFFFFFFF};
constexpr ARGB kBorder = 0xFFC8C8C8;
constexpr int kCaptionSize = 13;
constexpr int kSmallestCaption = 8;

}  // namespace

void KeyboardTestCtrl::ClearItem()
{
    auto lock = Lock();
    keys_.clear();
    Invalidate();
}

void KeyboardTestCtrl::SetWidthAndHeight(int width, int height)
{
    auto lock = Lock();
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    Invalidate();
}

void KeyboardTestCtrl::AddKeyItem(std::wstring_view label, int code, const RECT& rect,
                                  std::wstring_view icon)
{
    auto lock = Lock();
    keys_.push_back({std::wstring(label), code, rect, std::wstring(icon), kKeyUntouched});
    Invalidate();
}

bool KeyboardTestCtrl::SetKeyState(int code, int state)
{
    auto lock = Lock();
    bool found = false;
    for (TestKey& key : keys_) {
        if (key.code == code) {
            key.state = std::clamp(state, kKeyUntouched, kKeyDown);
            found = true;
        }
    }
    if (found) Invalidate();
    return found;
}

void KeyboardTestCtrl::ResetKeyState()
{
    auto lock = Lock();
    for (TestKey& key : keys_) key.state = kKeyUntouched;
    Invalidate();
}

int KeyboardTestCtrl::GetKeyState(int code) const
{
    auto lock = Lock();
    for (const TestKey& key : keys_) {
        if (key.code == code) return key.state;
    }
    return -1;
}

std::vector<KeyboardTestCtrl::TestKey> KeyboardTestCtrl::GetKeyItems() const
{
    auto lock = Lock();
    return keys_;
}

void KeyboardTestCtrl::Paint(QPainter& painter)
{
    auto lock = Lock();
    const RECT r = GetRect();
    if (width_ <= 0 || height_ <= 0 || RectWidth(r) <= 0 || RectHeight(r) <= 0) return;
    // The picture keeps its proportions and sits in the middle of the control.
    const double scale = std::min(static_cast<double>(RectWidth(r)) / width_,
                                  static_cast<double>(RectHeight(r)) / height_);
    const double left = (RectWidth(r) - width_ * scale) / 2;
    const double top = (RectHeight(r) - height_ * scale) / 2;
    painter.setRenderHint(QPainter::Antialiasing);
    FontSpec font = GetFont();
    font.size = std::max(kSmallestCaption, static_cast<int>(kCaptionSize * scale + 0.5));
    for (const TestKey& key : keys_) {
        const QRect box(static_cast<int>(left + key.rect.left * scale),
                        static_cast<int>(top + key.rect.top * scale),
                        static_cast<int>(RectWidth(key.rect) * scale),
                        static_cast<int>(RectHeight(key.rect) * scale));
        const int state = std::clamp(key.state, kKeyUntouched, kKeyDown);
        painter.setPen(ToQColor(kBorder));
        painter.setBrush(ToQColor(kFace[state]));
        painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        if (!key.icon.empty()) {
            const QImage icon = LoadSkinImage(L"icon\\" + key.icon + L".png");
            if (!icon.isNull()) {
                const int side = std::min(box.width(), box.height()) * 3 / 5;
                const QRect target(box.center().x() - side / 2, box.center().y() - side / 2, side,
                                   side);
                DrawPicture(painter, target, icon);
                continue;
            }
        }
        const QRect inner = box.adjusted(2, 2, -2, -2);
        const bool twoLines = key.label.find(L'\n') != std::wstring::npos;
        const FontSpec fitted = FitFont(key.label, font, inner, twoLines, kSmallestCaption);
        DrawControlText(painter, inner, key.label, fitted, kInk[state], kAlignCenter, kVAlignCenter,
                        twoLines);
    }
}

}  // namespace MUI
