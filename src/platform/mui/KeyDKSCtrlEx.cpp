#include "platform/mui/KeyDKSCtrlEx.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

constexpr QColor kRowFill(0xFF, 0xFF, 0xFF);
constexpr QColor kRowBorder(0xDD, 0xDD, 0xDD);
constexpr QColor kSelectedBorder(0x21, 0xA9, 0x39);
constexpr QColor kDeleteInk(0x96, 0x96, 0x96);
constexpr ARGB kSecondInk = 0xFF8A8A8A;
constexpr int kFirstType = 14;
constexpr int kMargin = 6;
constexpr int kTagWidth = 52;

bool Contains(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

std::wstring Joined(const std::vector<std::wstring>& names)
{
    std::wstring text;
    for (const std::wstring& name : names) {
        if (name.empty()) continue;
        if (!text.empty()) text += L" / ";
        text += name;
    }
    return text;
}

}  // namespace

MUI_REGISTER_CONTROL(KeyDKSCtrlEx)

KeyDKSCtrlEx::KeyDKSCtrlEx() { SetTextSize(13); }

void KeyDKSCtrlEx::ClearItems()
{
    auto lock = Lock();
    items_.clear();
    selected_ = -1;
    scroll_ = 0;
    Invalidate();
}

int KeyDKSCtrlEx::AddItem(std::wstring_view caption, int type,
                          const std::vector<std::wstring>& names, int value)
{
    auto lock = Lock();
    Item item{std::wstring(caption), type, names, L"", value};
    if (item.names.size() > 4) item.names.resize(4);
    items_.push_back(std::move(item));
    Invalidate();
    return static_cast<int>(items_.size()) - 1;
}

int KeyDKSCtrlEx::AddItem1(std::wstring_view nameB, std::wstring_view nameA, int type,
                           std::wstring_view modeText, int value)
{
    auto lock = Lock();
    // The keys are the caption; the second line is the mode alone.
    items_.push_back(Item{std::wstring(nameA) + L" / " + std::wstring(nameB),
                          type,
                          {},
                          std::wstring(modeText),
                          value});
    Invalidate();
    return static_cast<int>(items_.size()) - 1;
}

int KeyDKSCtrlEx::GetItemCount() const
{
    auto lock = Lock();
    return static_cast<int>(items_.size());
}

std::vector<KeyDKSCtrlEx::Item> KeyDKSCtrlEx::GetItems() const
{
    auto lock = Lock();
    return items_;
}

void KeyDKSCtrlEx::SetSelectValue(int value)
{
    auto lock = Lock();
    selected_ = -1;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].value == value) {
            selected_ = static_cast<int>(i);
            break;
        }
    }
    Invalidate();
}

int KeyDKSCtrlEx::GetSelectValue() const
{
    auto lock = Lock();
    return selected_ >= 0 ? items_[static_cast<size_t>(selected_)].value : 0;
}

bool KeyDKSCtrlEx::RemoveCurItem()
{
    auto lock = Lock();
    if (selected_ < 0) return false;
    items_.erase(items_.begin() + selected_);
    selected_ = -1;
    scroll_ = std::min(scroll_, std::max(static_cast<int>(items_.size()) - 1, 0));
    Invalidate();
    return true;
}

void KeyDKSCtrlEx::SetTypeNames(const std::vector<std::wstring>& names)
{
    auto lock = Lock();
    typeNames_ = names;
    Invalidate();
}

RECT KeyDKSCtrlEx::RowRect(int index) const
{
    const RECT r = GetRect();
    const int top = kHeaderHeight + (index - scroll_) * kRowHeight;
    return RECT{0, top, r.right - r.left, top + kRowHeight - kMargin};
}

RECT KeyDKSCtrlEx::DeleteRect(int index) const
{
    auto lock = Lock();
    const RECT row = RowRect(index);
    const int top = row.top + (row.bottom - row.top - kDeleteSize) / 2;
    return RECT{row.right - kMargin - kDeleteSize, top, row.right - kMargin, top + kDeleteSize};
}

int KeyDKSCtrlEx::ItemFromPoint(int x, int y, bool* onDelete) const
{
    auto lock = Lock();
    for (int i = scroll_; i < static_cast<int>(items_.size()); ++i) {
        if (!Contains(RowRect(i), x, y)) continue;
        if (onDelete != nullptr) *onDelete = Contains(DeleteRect(i), x, y);
        return i;
    }
    return -1;
}

void KeyDKSCtrlEx::Paint(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const RECT r = GetRect();
    const int height = r.bottom - r.top;
    DrawControlText(painter, QRect(kMargin, 0, r.right - r.left - 2 * kMargin, kHeaderHeight),
                    GetTitle(), GetFont(), GetTextColor(), kAlignRight, kVAlignCenter, false);
    painter.setClipRect(QRect(0, kHeaderHeight, r.right - r.left, height - kHeaderHeight));
    for (int i = scroll_; i < static_cast<int>(items_.size()); ++i) {
        const RECT row = RowRect(i);
        if (row.top >= height) break;
        const Item& item = items_[static_cast<size_t>(i)];
        QPainterPath shape;
        shape.addRoundedRect(QRectF(ToQRect(row)).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        painter.fillPath(shape, kRowFill);
        const bool selected = i == selected_;
        painter.setPen(QPen(selected ? kSelectedBorder : kRowBorder, selected ? 2.0 : 1.0));
        painter.drawPath(shape);
        const size_t typeIndex = static_cast<size_t>(item.type - kFirstType);
        const std::wstring tag = typeIndex < typeNames_.size() ? typeNames_[typeIndex] : L"";
        FontSpec bold = GetFont();
        bold.style |= kFontBold;
        DrawControlText(painter,
                        QRect(row.left + kMargin, row.top, kTagWidth, row.bottom - row.top), tag,
                        bold, GetTextColor(), kAlignLeft, kVAlignCenter, false);
        const int textLeft = row.left + kMargin + kTagWidth;
        const int textWidth = row.right - kMargin - kDeleteSize - kMargin - textLeft;
        const int half = (row.bottom - row.top) / 2;
        const std::wstring second = item.text.empty() ? Joined(item.names) : item.text;
        const std::wstring& first = item.caption;
        const QRect firstBox(textLeft, row.top + 2, textWidth, half - 2);
        const QRect secondBox(textLeft, row.top + half, textWidth, half - 2);
        DrawControlText(painter, firstBox, first, FitFont(first, GetFont(), firstBox, false, 9),
                        GetTextColor(), kAlignLeft, kVAlignCenter, false);
        FontSpec small = GetFont();
        small.size = std::max(small.size - 2, 9);
        DrawControlText(painter, secondBox, second, FitFont(second, small, secondBox, false, 8),
                        kSecondInk, kAlignLeft, kVAlignCenter, false);
        // The delete icon: a cross.
        const QRectF cross = QRectF(ToQRect(DeleteRect(i))).adjusted(5, 5, -5, -5);
        painter.setPen(QPen(kDeleteInk, 2.0));
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.topRight(), cross.bottomLeft());
    }
}

void KeyDKSCtrlEx::OnClick(const MouseEvent& event)
{
    bool onDelete = false;
    const int index = ItemFromPoint(event.x, event.y, &onDelete);
    if (index < 0) return;
    int value = 0;
    {
        auto lock = Lock();
        selected_ = index;
        value = items_[static_cast<size_t>(index)].value;
        Invalidate();
    }
    Notify(onDelete ? kNotifyItemDeleted : kNotifyClick, value);
}

void KeyDKSCtrlEx::OnMouseWheel(const MouseEvent& event)
{
    auto lock = Lock();
    const int rows = static_cast<int>(items_.size());
    scroll_ = std::clamp(scroll_ - event.wheelDelta / 120, 0, std::max(rows - 1, 0));
    Invalidate();
}

}  // namespace MUI
