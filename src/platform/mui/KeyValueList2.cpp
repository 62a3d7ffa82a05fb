#include "platform/mui/KeyValueList2.h"

#include <QPainter>
#include <QPainterPath>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

constexpr QColor kTileFill(0xF4, 0xF4, 0xF4);
constexpr QColor kTileHot(0xE6, 0xE6, 0xE6);
constexpr QColor kTileBorder(0xDD, 0xDD, 0xDD);
constexpr QColor kSelectedBorder(0x21, 0xA9, 0x39);
constexpr int kMinCaptionSize = 9;

bool Contains(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

MUI_REGISTER_CONTROL(KeyValueList2)

KeyValueList2::KeyValueList2()
{
    SetAlignment(kAlignCenter);
    SetMultiLine(true);
    SetTextSize(12);
}

void KeyValueList2::ClearAllItems()
{
    auto lock = Lock();
    tiles_.clear();
    chosen_ = -1;
    hot_ = -1;
    Invalidate();
}

int KeyValueList2::AddKeyInfo(int value, std::wstring_view caption, std::wstring_view tip,
                              const RECT& rect)
{
    auto lock = Lock();
    tiles_.push_back(Tile{value, std::wstring(caption), std::wstring(tip), rect});
    Invalidate();
    return static_cast<int>(tiles_.size()) - 1;
}

int KeyValueList2::GetItemCount() const
{
    auto lock = Lock();
    return static_cast<int>(tiles_.size());
}

std::vector<KeyValueList2::Tile> KeyValueList2::GetItems() const
{
    auto lock = Lock();
    return tiles_;
}

void KeyValueList2::SetSelectKeyValue(int value)
{
    auto lock = Lock();
    chosen_ = -1;
    for (size_t i = 0; i < tiles_.size(); ++i) {
        if (tiles_[i].value == value) {
            chosen_ = static_cast<int>(i);
            break;
        }
    }
    Invalidate();
}

bool KeyValueList2::GetSelectKeyValue(int& value, std::wstring& caption) const
{
    auto lock = Lock();
    if (chosen_ < 0) return false;
    value = tiles_[chosen_].value;
    caption = tiles_[chosen_].caption;
    return true;
}

int KeyValueList2::IndexAt(int x, int y) const
{
    for (size_t i = 0; i < tiles_.size(); ++i)
        if (Contains(tiles_[i].rect, x, y)) return static_cast<int>(i);
    return -1;
}

int KeyValueList2::ItemFromPoint(int x, int y) const
{
    auto lock = Lock();
    return IndexAt(x, y);
}

void KeyValueList2::Paint(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < static_cast<int>(tiles_.size()); ++i) {
        const Tile& tile = tiles_[i];
        const QRectF box = QRectF(ToQRect(tile.rect)).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath shape;
        shape.addRoundedRect(box, 8, 8);
        painter.fillPath(shape, i == hot_ ? kTileHot : kTileFill);
        painter.setPen(
            QPen(i == chosen_ ? kSelectedBorder : kTileBorder, i == chosen_ ? 2.0 : 1.0));
        painter.drawPath(shape);
        // A long caption takes a smaller size rather than running over the tile's edge.
        const QRect textBox = ToQRect(tile.rect).adjusted(2, 2, -2, -2);
        DrawControlText(painter, textBox, tile.caption,
                        FitFont(tile.caption, GetFont(), textBox, true, kMinCaptionSize),
                        GetTextColor(), kAlignCenter, kVAlignCenter, true);
    }
}

void KeyValueList2::OnClick(const MouseEvent& event)
{
    if (drag_.Dropped()) return;
    const int index = ItemFromPoint(event.x, event.y);
    if (index < 0) return;
    int value = 0;
    {
        auto lock = Lock();
        chosen_ = index;
        value = tiles_[index].value;
        Invalidate();
    }
    Notify(kNotifyClick, value);
}

}  // namespace MUI
