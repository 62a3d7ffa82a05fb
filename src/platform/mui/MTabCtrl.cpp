#include "platform/mui/MTabCtrl.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/DrawPicture.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MTabCtrl::MTabCtrl() { SetAlignment(kAlignCenter); }

int MTabCtrl::InsertItem(int itemId, std::wstring_view caption, std::wstring_view icon,
                         MControl* container, int, int)
{
    auto lock = Lock();
    items_.push_back(Item{itemId, std::wstring(caption), std::wstring(icon), container});
    Invalidate();
    return static_cast<int>(items_.size()) - 1;
}

int MTabCtrl::GetItemCount() const
{
    auto lock = Lock();
    return static_cast<int>(items_.size());
}

int MTabCtrl::GetItemID(int index) const
{
    auto lock = Lock();
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].id : -1;
}

int MTabCtrl::FindItem(int itemId) const
{
    auto lock = Lock();
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].id == itemId) return static_cast<int>(i);
    return -1;
}

bool MTabCtrl::SetItemCaption(int index, std::wstring_view caption)
{
    auto lock = Lock();
    if (index < 0 || index >= static_cast<int>(items_.size())) return false;
    items_[index].caption = std::wstring(caption);
    Invalidate();
    return true;
}

std::wstring MTabCtrl::GetItemCaption(int index) const
{
    auto lock = Lock();
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].caption
                                                                 : std::wstring();
}

MControl* MTabCtrl::GetItemContainer(int index) const
{
    auto lock = Lock();
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].container
                                                                 : nullptr;
}

int MTabCtrl::SetCurSel(int index)
{
    auto lock = Lock();
    if (index < 0 || index >= static_cast<int>(items_.size())) return -1;
    current_ = index;
    ShowContainers();
    Invalidate();
    return index;
}

int MTabCtrl::GetCurSel() const
{
    auto lock = Lock();
    return current_;
}

int MTabCtrl::GetCurItemID() const { return GetItemID(GetCurSel()); }

void MTabCtrl::SetTabWidth(int width)
{
    auto lock = Lock();
    tabWidth_ = std::max(width, 1);
    Invalidate();
}

void MTabCtrl::SetTabHeight(int height)
{
    auto lock = Lock();
    tabHeight_ = std::max(height, 1);
    Invalidate();
}

void MTabCtrl::SetPadding(int left, int right, int top, int bottom)
{
    auto lock = Lock();
    padLeft_ = left;
    padRight_ = right;
    padTop_ = top;
    padBottom_ = bottom;
    Invalidate();
}

void MTabCtrl::SetItemWidth(int normal, int selected, int spacing)
{
    auto lock = Lock();
    itemWidth_[0] = normal;
    itemWidth_[1] = selected;
    itemWidth_[2] = spacing;
    Invalidate();
}

void MTabCtrl::SetItemHeight(int normal, int selected, int spacing)
{
    auto lock = Lock();
    itemHeight_[0] = normal;
    itemHeight_[1] = selected;
    itemHeight_[2] = spacing;
    Invalidate();
}

MTabCtrl::Box MTabCtrl::TabBox(int index) const
{
    const int normal = itemWidth_[0] > 0 ? itemWidth_[0] : tabWidth_;
    const int selected = itemWidth_[1] > 0 ? itemWidth_[1] : normal;
    const int spacing = std::max(itemWidth_[2], 0);
    int left = padLeft_;
    for (int i = 0; i < index; ++i) left += (i == current_ ? selected : normal) + spacing;
    const int width = index == current_ ? selected : normal;
    const int heightNormal = itemHeight_[0] > 0 ? itemHeight_[0] : tabHeight_;
    const int heightSelected = itemHeight_[1] > 0 ? itemHeight_[1] : heightNormal;
    const int height = index == current_ ? heightSelected : heightNormal;
    return Box{left, padTop_, width, height};
}

int MTabCtrl::ItemFromPoint(int x, int y) const
{
    auto lock = Lock();
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const Box b = TabBox(i);
        if (x >= b.left && x < b.left + b.width && y >= b.top && y < b.top + b.height) return i;
    }
    return -1;
}

void MTabCtrl::ShowContainers()
{
    // The selected container is shown last, so that one shared by two items stays visible.
    for (int i = 0; i < static_cast<int>(items_.size()); ++i)
        if (i != current_ && items_[i].container &&
            items_[i].container != items_[current_].container)
            items_[i].container->SetVisible(false);
    if (items_[current_].container) items_[current_].container->SetVisible(true);
}

void MTabCtrl::Paint(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    if (GetBkColor() != 0) {
        const RECT r = GetRect();
        painter.fillRect(QRect(0, 0, RectWidth(r), RectHeight(r)), ToQColor(GetBkColor()));
    }
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const Box b = TabBox(i);
        const QRect box(b.left, b.top, b.width, b.height);
        const bool selected = i == current_;
        if (selected || i == hot_) {
            QPainterPath shape;
            shape.addRoundedRect(QRectF(box).adjusted(4, 6, -4, -6), 8, 8);
            painter.fillPath(shape, selected ? QColor(255, 255, 255) : QColor(0xEE, 0xEE, 0xEE));
        }
        const QImage icon = LoadSkinImage(items_[i].icon);
        int textLeft = box.left() + 12;
        if (!icon.isNull()) {
            const int side = std::min({icon.height(), box.height() - 20, 28});
            const QRect iconBox(box.left() + 20, box.center().y() - side / 2 + 1, side, side);
            DrawPicture(painter, iconBox, icon);
            textLeft = iconBox.right() + 10;
        }
        FontSpec font = GetFont();
        if (selected) font.style |= kFontBold;
        DrawControlText(painter,
                        QRect(textLeft, box.top(), box.right() - textLeft - 8, box.height()),
                        items_[i].caption, font,
                        selected ? GetTextColor() : (GetTextColor() & 0x00FFFFFF) | 0xA0000000,
                        icon.isNull() ? GetAlignment() : kAlignLeft, kVAlignCenter, false);
        if (selected) {
            painter.fillRect(QRect(box.left() + box.width() / 2 - 16, box.bottom() - 5, 32, 3),
                             QColor(0x21, 0xA9, 0x39));
        }
    }
}

void MTabCtrl::OnClick(const MouseEvent& event)
{
    const int index = ItemFromPoint(event.x, event.y);
    if (index < 0) return;
    {
        auto lock = Lock();
        if (index == current_) return;
        current_ = index;
        ShowContainers();
        Invalidate();
    }
    Notify(kNotifyClick, index);
}

void MTabCtrl::OnMouseMove(const MouseEvent& event)
{
    const int index = ItemFromPoint(event.x, event.y);
    auto lock = Lock();
    if (index != hot_) {
        hot_ = index;
        Invalidate();
    }
}

void MTabCtrl::OnMouseLeave()
{
    auto lock = Lock();
    hot_ = -1;
    Invalidate();
}

MUI_REGISTER_CONTROL(MTabCtrl)

}  // namespace MUI
