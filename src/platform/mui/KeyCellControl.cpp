#include "platform/mui/KeyCellControl.h"

#include <QPainter>
#include <QPainterPath>

#include "platform/mui/Painting.h"

namespace MUI {

namespace {

constexpr QColor kCellFill(0xFF, 0xFF, 0xFF);
constexpr QColor kCellBorder(0xC8, 0xC8, 0xC8);
constexpr QColor kMarkedBorder(0x21, 0xA9, 0x39);
constexpr int kMinCaptionSize = 8;

bool Contains(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

void KeyCellControl::SetCellCount(int count)
{
    auto lock = Lock();
    cells_.resize(static_cast<size_t>(std::max(count, 0)));
    if (current_ >= static_cast<int>(cells_.size())) current_ = -1;
    Invalidate();
}

int KeyCellControl::GetCellCount() const
{
    auto lock = Lock();
    return static_cast<int>(cells_.size());
}

bool KeyCellControl::SetItem(int index, std::wstring_view caption, int value, int kind)
{
    auto lock = Lock();
    if (index < 0 || index >= static_cast<int>(cells_.size())) return false;
    cells_[static_cast<size_t>(index)] = KeyCell{std::wstring(caption), value, kind};
    Invalidate();
    return true;
}

bool KeyCellControl::GetItem(int index, KeyCell& cell) const
{
    auto lock = Lock();
    if (index < 0 || index >= static_cast<int>(cells_.size())) return false;
    cell = cells_[static_cast<size_t>(index)];
    return true;
}

std::vector<KeyCell> KeyCellControl::GetItems() const
{
    auto lock = Lock();
    return cells_;
}

bool KeyCellControl::SetCurItem(int index)
{
    auto lock = Lock();
    if (index < -1 || index >= static_cast<int>(cells_.size())) return false;
    current_ = index;
    Invalidate();
    return true;
}

int KeyCellControl::GetCurItem() const
{
    auto lock = Lock();
    return current_;
}

bool KeyCellControl::SetCurValue(std::wstring_view caption, int value, int kind)
{
    auto lock = Lock();
    return current_ >= 0 && SetItem(current_, caption, value, kind);
}

void KeyCellControl::SetControlType(int type)
{
    auto lock = Lock();
    controlType_ = type;
    Invalidate();
}

int KeyCellControl::GetControlType() const
{
    auto lock = Lock();
    return controlType_;
}

int KeyCellControl::CellFromPoint(int x, int y) const
{
    auto lock = Lock();
    const std::vector<RECT> rects = CellRects();
    for (size_t i = 0; i < rects.size(); ++i) {
        if (Contains(rects[i], x, y)) return static_cast<int>(i);
    }
    return -1;
}

void KeyCellControl::DragMove(int clientX, int clientY)
{
    auto lock = Lock();
    const RECT rect = GetRect();
    const int cell = CellFromPoint(clientX - rect.left, clientY - rect.top);
    if (cell >= 0 && cell != current_) {
        current_ = cell;
        Invalidate();
    }
}

RECT KeyCellControl::GetCellRect(int index) const
{
    auto lock = Lock();
    const std::vector<RECT> rects = CellRects();
    if (index < 0 || index >= static_cast<int>(rects.size())) return RECT{0, 0, 0, 0};
    return rects[static_cast<size_t>(index)];
}

int KeyCellControl::ClickValue(int) const { return 1; }

void KeyCellControl::PaintCell(QPainter& painter, const RECT& rect, const KeyCell& cell,
                               bool marked) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(ToQRect(rect)).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(box, 6, 6);
    painter.fillPath(shape, kCellFill);
    painter.setPen(QPen(marked ? kMarkedBorder : kCellBorder, marked ? 2.0 : 1.0));
    painter.drawPath(shape);
    const QRect textBox = ToQRect(rect).adjusted(3, 2, -3, -2);
    DrawControlText(painter, textBox, cell.caption,
                    FitFont(cell.caption, GetFont(), textBox, true, kMinCaptionSize),
                    GetTextColor(), kAlignCenter, kVAlignCenter, true);
}

void KeyCellControl::Paint(QPainter& painter)
{
    const std::vector<RECT> rects = CellRects();
    for (size_t i = 0; i < rects.size() && i < cells_.size(); ++i) {
        PaintCell(painter, rects[i], cells_[i], static_cast<int>(i) == current_);
    }
}

void KeyCellControl::OnClick(const MouseEvent& event)
{
    const int cell = CellFromPoint(event.x, event.y);
    if (cell < 0) return;
    int value = 0;
    {
        auto lock = Lock();
        current_ = cell;
        value = ClickValue(cell);
        Invalidate();
    }
    Notify(kNotifyClick, value);
}

}  // namespace MUI
