// The lighting operations of the key view: the colour a lighting mode shows, and the per-key
// colour mode.
#include <QColor>
#include <algorithm>

#include "platform/mui/KeyboardCtrl.h"

namespace MUI {

void KeyboardCtrl::SetLightModeColor(bool colorful, COLORREF color)
{
    auto guard = Guard();
    if (!colorful) {
        for (auto& key : keys_) key.color = color & 0xFFFFFF;
        Invalidate();
        return;
    }
    // The hue runs once from red to violet over the keyboard's width.
    int width = keyboardWidth_;
    for (const auto& key : keys_) width = std::max(width, static_cast<int>(key.rect.right));
    width = std::max(width, 1);
    for (auto& key : keys_) {
        const int middle = (key.rect.left + key.rect.right) / 2;
        const int hue = std::clamp(middle * 300 / width, 0, 359);
        key.color = QColorToColorRef(QColor::fromHsv(hue, 255, 255));
    }
    Invalidate();
}

void KeyboardCtrl::SetUserColorMode(bool on)
{
    auto guard = Guard();
    userColorMode_ = on;
}

bool KeyboardCtrl::GetUserColorMode() const
{
    auto guard = Guard();
    return userColorMode_;
}

}  // namespace MUI
