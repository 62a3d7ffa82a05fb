#include "platform/mui/KeyFuncControl.h"

#include <QPainter>
#include <QPainterPath>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

constexpr QColor kKeyFill(0xF4, 0xF4, 0xF4);
constexpr QColor kKeyHot(0xE6, 0xE6, 0xE6);
constexpr QColor kBorder(0xDD, 0xDD, 0xDD);
constexpr QColor kAccent(0x21, 0xA9, 0x39);
constexpr ARGB kAccentText = 0xFFFFFFFF;

bool Contains(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool IsModifierUsage(int usage) { return usage >= 0xE0 && usage <= 0xE7; }

void PaintBox(QPainter& painter, const RECT& rect, const QColor& fill, const QColor& border,
              qreal borderWidth)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(ToQRect(rect)).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.fillPath(shape, fill);
    painter.setPen(QPen(border, borderWidth));
    painter.drawPath(shape);
}

}  // namespace

MUI_REGISTER_CONTROL(KeyFuncControl)

KeyFuncControl::KeyFuncControl() : items_(DefaultKeyFuncItems()), chips_(DefaultKeyFuncChips())
{
    SetTextSize(12);
}

void KeyFuncControl::ClearItems()
{
    auto lock = Lock();
    items_.clear();
    chosen_ = -1;
    hot_ = -1;
    Invalidate();
}

int KeyFuncControl::AddItem(const std::array<int, 4>& values, std::wstring_view name,
                            const RECT& rect)
{
    auto lock = Lock();
    items_.push_back(Item{values, std::wstring(name), rect});
    Invalidate();
    return static_cast<int>(items_.size()) - 1;
}

int KeyFuncControl::GetItemCount() const
{
    auto lock = Lock();
    return static_cast<int>(items_.size());
}

void KeyFuncControl::SetItemNameByUsage(int usage, std::wstring_view name)
{
    auto lock = Lock();
    for (Item& item : items_) {
        if (item.values[0] == 0 && item.values[1] == usage) item.name = name;
    }
    Invalidate();
}

std::vector<KeyFuncControl::Item> KeyFuncControl::GetItems() const
{
    auto lock = Lock();
    return items_;
}

std::vector<KeyFuncControl::Chip> KeyFuncControl::GetChips() const
{
    auto lock = Lock();
    return chips_;
}

void KeyFuncControl::RemoveChips()
{
    auto lock = Lock();
    chips_.clear();
    modifier_ = 0;
    Invalidate();
}

bool KeyFuncControl::SetCurItem(int index)
{
    auto lock = Lock();
    if (index < -1 || index >= static_cast<int>(items_.size())) return false;
    chosen_ = index;
    Invalidate();
    return true;
}

int KeyFuncControl::GetCurItem() const
{
    auto lock = Lock();
    return chosen_;
}

bool KeyFuncControl::SetModifier(int usage)
{
    auto lock = Lock();
    if (usage != 0 && !IsModifierUsage(usage)) return false;
    modifier_ = usage;
    Invalidate();
    return true;
}

int KeyFuncControl::GetModifier() const
{
    auto lock = Lock();
    return modifier_;
}

bool KeyFuncControl::GetCurItemData(int& value1, int& value2, int& value3, int& value4,
                                    std::wstring& name) const
{
    auto lock = Lock();
    if (chosen_ < 0) return false;
    const Item& item = items_[chosen_];
    value1 = item.values[0];
    value2 = item.values[1];
    value3 = item.values[2];
    value4 = item.values[3];
    name = item.name;
    // The chip's modifier goes with every key but the one that disables.
    if (modifier_ != 0 && item.values[1] != kDisableUsage) {
        value3 = modifier_;
        for (const Chip& chip : chips_) {
            if (chip.usage == modifier_) {
                name = chip.name + L"+" + item.name;
                break;
            }
        }
    }
    return true;
}

int KeyFuncControl::ItemFromPoint(int x, int y) const
{
    auto lock = Lock();
    for (size_t i = 0; i < items_.size(); ++i)
        if (Contains(items_[i].rect, x, y)) return static_cast<int>(i);
    return -1;
}

int KeyFuncControl::ChipFromPoint(int x, int y) const
{
    auto lock = Lock();
    for (size_t i = 0; i < chips_.size(); ++i)
        if (Contains(chips_[i].rect, x, y)) return static_cast<int>(i);
    return -1;
}

void KeyFuncControl::Paint(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Chip& chip : chips_) {
        const bool on = chip.usage == modifier_;
        PaintBox(painter, chip.rect, on ? kAccent : kKeyFill, on ? kAccent : kBorder, 1.0);
        DrawControlText(painter, ToQRect(chip.rect), chip.name, GetFont(),
                        on ? kAccentText : GetTextColor(), kAlignCenter, kVAlignCenter, false);
    }
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const Item& item = items_[i];
        const bool current = i == chosen_;
        PaintBox(painter, item.rect, i == hot_ ? kKeyHot : kKeyFill, current ? kAccent : kBorder,
                 current ? 2.0 : 1.0);
        DrawControlText(painter, ToQRect(item.rect).adjusted(2, 2, -2, -2), item.name, GetFont(),
                        GetTextColor(), kAlignCenter, kVAlignCenter, true);
    }
}

void KeyFuncControl::OnClick(const MouseEvent& event)
{
    if (drag_.Dropped()) return;
    const int chip = ChipFromPoint(event.x, event.y);
    if (chip >= 0) {
        auto lock = Lock();
        const int usage = chips_[chip].usage;
        modifier_ = modifier_ == usage ? 0 : usage;
        Invalidate();
        return;
    }
    const int index = ItemFromPoint(event.x, event.y);
    if (index < 0) return;
    {
        auto lock = Lock();
        chosen_ = index;
        Invalidate();
    }
    Notify(kNotifyClick, index);
}

}  // namespace MUI
