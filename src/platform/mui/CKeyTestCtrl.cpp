#include "platform/mui/CKeyTestCtrl.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

constexpr QColor kChipFill(0x21, 0xA9, 0x39);
constexpr ARGB kChipInk = 0xFFFFFFFF;
constexpr int kChipHeight = 30;
constexpr int kChipMinWidth = 50;
constexpr int kGap = 6;

}  // namespace

MUI_REGISTER_CONTROL(CKeyTestCtrl)

CKeyTestCtrl::CKeyTestCtrl() { SetTextSize(13); }

void CKeyTestCtrl::AddKey(std::wstring_view caption, int code)
{
    auto lock = Lock();
    const bool shown = std::any_of(keys_.begin(), keys_.end(),
                                   [&](const auto& key) { return key.second == code; });
    if (shown) return;
    keys_.emplace_back(std::wstring(caption), code);
    Invalidate();
}

void CKeyTestCtrl::RemoveKey(int code)
{
    auto lock = Lock();
    std::erase_if(keys_, [&](const auto& key) { return key.second == code; });
    Invalidate();
}

void CKeyTestCtrl::ClearKeys()
{
    auto lock = Lock();
    keys_.clear();
    Invalidate();
}

std::vector<std::pair<std::wstring, int>> CKeyTestCtrl::GetKeys() const
{
    auto lock = Lock();
    return keys_;
}

void CKeyTestCtrl::Paint(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const RECT r = GetRect();
    const int width = r.right - r.left;
    const QFontMetrics metrics(MakeFont(GetFont()));
    int x = 0;
    int y = 0;
    for (const auto& [caption, code] : keys_) {
        const int chip =
            std::max(kChipMinWidth, metrics.horizontalAdvance(ToQString(caption)) + 16);
        if (x > 0 && x + chip > width) {
            x = 0;
            y += kChipHeight + kGap;
        }
        const QRect box(x, y, std::min(chip, width), kChipHeight);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(box), 6, 6);
        painter.fillPath(shape, kChipFill);
        DrawControlText(painter, box, caption, GetFont(), kChipInk, kAlignCenter, kVAlignCenter,
                        false);
        x += chip + kGap;
    }
}

}  // namespace MUI
