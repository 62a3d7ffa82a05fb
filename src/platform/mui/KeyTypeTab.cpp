#include "platform/mui/KeyTypeTab.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

namespace {

constexpr QColor kCurrentFill(0xFF, 0xFF, 0xFF);
constexpr QColor kHotFill(0xF2, 0xF2, 0xF2);
constexpr QColor kAccent(0x21, 0xA9, 0x39);
constexpr int kSpacing = 6;
constexpr ARGB kDisabledInk = 0xFFC0C0C0;

}  // namespace

MUI_REGISTER_CONTROL(KeyTypeTab)

KeyTypeTab::KeyTypeTab() { SetAlignment(kAlignCenter); }

bool KeyTypeTab::SetTabTitle(int index, std::wstring_view title)
{
    auto lock = Lock();
    if (index < 0 || index >= kTabCount) return false;
    titles_[index] = std::wstring(title);
    Invalidate();
    return true;
}

std::wstring KeyTypeTab::GetTabTitle(int index) const
{
    auto lock = Lock();
    return index >= 0 && index < kTabCount ? titles_[index] : std::wstring();
}

void KeyTypeTab::SetItemSize(int width, int height)
{
    auto lock = Lock();
    itemWidth_ = std::max(width, 1);
    itemHeight_ = std::max(height, 1);
    Invalidate();
}

SIZE KeyTypeTab::GetItemSize() const
{
    auto lock = Lock();
    return SIZE{itemWidth_, itemHeight_};
}

bool KeyTypeTab::SetCurTab(int index)
{
    auto lock = Lock();
    if (index < 0 || index >= kTabCount) return false;
    current_ = index;
    Invalidate();
    return true;
}

int KeyTypeTab::GetCurTab() const
{
    auto lock = Lock();
    return current_;
}

QRect KeyTypeTab::TabBox(int index) const
{
    const RECT r = GetRect();
    const bool across = RectWidth(r) > RectHeight(r);
    return across ? QRect(index * (itemWidth_ + kSpacing), 0, itemWidth_, itemHeight_)
                  : QRect(0, index * (itemHeight_ + kSpacing), itemWidth_, itemHeight_);
}

int KeyTypeTab::TabFromPoint(int x, int y) const
{
    auto lock = Lock();
    for (int i = 0; i < kTabCount; ++i)
        if (TabBox(i).contains(x, y)) return i;
    return -1;
}

void KeyTypeTab::Paint(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const RECT r = GetRect();
    const QImage background = LoadSkinImage(GetImage());
    if (!background.isNull()) {
        DrawNineGrid(painter, QRect(0, 0, RectWidth(r), RectHeight(r)), background, 8);
    }
    const bool across = RectWidth(r) > RectHeight(r);
    for (int i = 0; i < kTabCount; ++i) {
        const QRect box = TabBox(i);
        const bool current = i == current_;
        if (current || i == hot_) {
            QPainterPath shape;
            shape.addRoundedRect(QRectF(box).adjusted(1, 1, -1, -1), 6, 6);
            painter.fillPath(shape, current ? kCurrentFill : kHotFill);
        }
        if (current) {
            const QRect bar =
                across ? QRect(box.left() + box.width() / 2 - 12, box.bottom() - 3, 24, 3)
                       : QRect(box.left() + 2, box.top() + 10, 3, std::max(box.height() - 20, 4));
            painter.fillRect(bar, kAccent);
        }
        FontSpec font = GetFont();
        if (current) font.style |= kFontBold;
        const ARGB ink = enabled_[static_cast<size_t>(i)] ? GetTextColor() : kDisabledInk;
        DrawControlText(painter, box, titles_[i], font, ink, GetAlignment(), kVAlignCenter, false);
    }
}

bool KeyTypeTab::SetTabEnabled(int index, bool enabled)
{
    auto lock = Lock();
    if (index < 0 || index >= kTabCount) return false;
    enabled_[static_cast<size_t>(index)] = enabled;
    Invalidate();
    return true;
}

bool KeyTypeTab::IsTabEnabled(int index) const
{
    auto lock = Lock();
    return index >= 0 && index < kTabCount && enabled_[static_cast<size_t>(index)];
}

void KeyTypeTab::OnClick(const MouseEvent& event)
{
    const int index = TabFromPoint(event.x, event.y);
    if (index < 0) return;
    {
        auto lock = Lock();
        if (index == current_ || !enabled_[static_cast<size_t>(index)]) return;
        current_ = index;
        Invalidate();
    }
    Notify(kNotifyClick, index);
}

void KeyTypeTab::OnMouseMove(const MouseEvent& event)
{
    const int index = TabFromPoint(event.x, event.y);
    auto lock = Lock();
    if (index != hot_) {
        hot_ = index;
        Invalidate();
    }
}

void KeyTypeTab::OnMouseLeave()
{
    auto lock = Lock();
    hot_ = -1;
    Invalidate();
}

}  // namespace MUI
