#include "platform/mui/MListBox.h"

#include <algorithm>

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/MenuWnd.h"
#include "platform/mui/Painting.h"

namespace MUI {

MListBox::MListBox()
    : menu_{{600, L"New"},    {605, L"Delete"}, {606, L"Copy"},  {610, L"Paste"},
            {607, L"Import"}, {608, L"Export"}, {609, L"Rename"}}
{
    SetTextColor(0xFF000000);
}

int MListBox::AddItem(std::wstring_view text, int data)
{
    auto lock = Lock();
    const int index = items_.Add(std::wstring(text), data);
    Invalidate();
    return index;
}

int MListBox::InsertItem(int index, std::wstring_view text, int data)
{
    auto lock = Lock();
    index = items_.Insert(index, std::wstring(text), data);
    Invalidate();
    return index;
}

bool MListBox::DeleteItem(int index)
{
    auto lock = Lock();
    if (!items_.Remove(index)) return false;
    if (editing_ && editIndex_ == index) editing_ = false;
    ClampTop();
    Invalidate();
    return true;
}

void MListBox::DelAllItems()
{
    auto lock = Lock();
    items_.Clear();
    editing_ = false;
    top_ = 0;
    hot_ = -1;
    Invalidate();
}

int MListBox::GetItemCount() const
{
    auto lock = Lock();
    return items_.Count();
}

std::wstring MListBox::GetItemText(int index) const
{
    auto lock = Lock();
    return items_.Text(index);
}

bool MListBox::SetItemText(int index, std::wstring_view text)
{
    auto lock = Lock();
    if (!items_.SetText(index, std::wstring(text))) return false;
    Invalidate();
    return true;
}

bool MListBox::ModifyItemString(int index, std::wstring_view text)
{
    return SetItemText(index, text);
}

int MListBox::GetItemData(int index) const
{
    auto lock = Lock();
    return items_.Data(index);
}

bool MListBox::SetItemData(int index, int data)
{
    auto lock = Lock();
    return items_.SetData(index, data);
}

int MListBox::SetCurSel(int index)
{
    auto lock = Lock();
    items_.SetCurSel(index);
    ScrollToSelection();
    Invalidate();
    return items_.CurSel();
}

int MListBox::GetCurSel() const
{
    auto lock = Lock();
    return items_.CurSel();
}

int MListBox::SelectData(int data)
{
    auto lock = Lock();
    const int index = items_.SelectData(data);
    ScrollToSelection();
    Invalidate();
    return index;
}

int MListBox::GetCurData() const
{
    auto lock = Lock();
    return items_.CurData();
}

void MListBox::SetItemHeight(int height)
{
    auto lock = Lock();
    itemHeight_ = std::max(height, 1);
    ClampTop();
    Invalidate();
}

int MListBox::GetItemHeight() const
{
    auto lock = Lock();
    return RowHeight();
}

int MListBox::GetTopIndex() const
{
    auto lock = Lock();
    return top_;
}

void MListBox::SetTopIndex(int index)
{
    auto lock = Lock();
    top_ = index;
    ClampTop();
    Invalidate();
}

void MListBox::ShowEdit()
{
    auto lock = Lock();
    if (items_.CurSel() < 0) return;
    editing_ = true;
    editIndex_ = items_.CurSel();
    titleEx_ = items_.CurText();
    ScrollToSelection();
    Invalidate();
}

bool MListBox::IsEditing() const
{
    auto lock = Lock();
    return editing_;
}

std::wstring MListBox::GetTitleEx() const
{
    auto lock = Lock();
    return titleEx_;
}

void MListBox::SetMenuItems(std::vector<MenuItem> items)
{
    auto lock = Lock();
    menu_ = std::move(items);
}

std::vector<MListBox::MenuItem> MListBox::GetMenuItems() const
{
    auto lock = Lock();
    return menu_;
}

void MListBox::EnableContextMenu(bool enable)
{
    auto lock = Lock();
    menuEnabled_ = enable;
}

int MListBox::ItemFromPoint(int x, int y) const
{
    auto lock = Lock();
    const RECT r = GetRect();
    if (x < 0 || y < 0 || x >= RectWidth(r) || y >= RectHeight(r)) return -1;
    const int index = top_ + y / RowHeight();
    return items_.IsValid(index) ? index : -1;
}

void MListBox::EndEdit(const std::wstring& text)
{
    int index = -1;
    {
        auto lock = Lock();
        if (!editing_) return;
        editing_ = false;
        index = editIndex_;
        titleEx_ = text;
        if (!text.empty()) items_.SetText(index, text);
        Invalidate();
    }
    Notify(kNotifyEditEnded, index);
}

int MListBox::RowHeight() const { return itemHeight_; }

int MListBox::VisibleRows() const { return std::max(1, RectHeight(GetRect()) / RowHeight()); }

void MListBox::ClampTop()
{
    top_ = std::clamp(top_, 0, std::max(0, items_.Count() - VisibleRows()));
}

void MListBox::ScrollToSelection()
{
    const int sel = items_.CurSel();
    if (sel >= 0) {
        if (sel < top_) top_ = sel;
        if (sel >= top_ + VisibleRows()) top_ = sel - VisibleRows() + 1;
    }
    ClampTop();
}

void MListBox::SyncWidget(QWidget* widget)
{
    MControl::SyncWidget(widget);
    const int row = RowHeight();
    const QRect rect(0, (editIndex_ - top_) * row, RectWidth(GetRect()), row);
    InPlaceEdit::Sync(editor_, editing_, widget, rect, items_.Text(editIndex_), GetFont(), Link(),
                      [](MControl& control, const std::wstring& text) {
                          static_cast<MListBox&>(control).EndEdit(text);
                      });
}

void MListBox::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const int width = RectWidth(r);
    if (GetBkColor() != 0)
        painter.fillRect(QRect(0, 0, width, RectHeight(r)), ToQColor(GetBkColor()));
    const int row = RowHeight();
    const int rows = VisibleRows() + 1;
    for (int i = top_; i < std::min(items_.Count(), top_ + rows); ++i) {
        const QRect cell(0, (i - top_) * row, width, row);
        if (i == items_.CurSel())
            painter.fillRect(cell, QColor(0xE3, 0xEC, 0xF7));
        else if (i == hot_)
            painter.fillRect(cell, QColor(0xF2, 0xF2, 0xF2));
        FontSpec font = GetFont();
        if (i == items_.CurSel()) font.style |= kFontBold;
        DrawControlText(painter, cell.adjusted(12, 0, -8, 0), items_.Text(i), font,
                        IsEnabled() ? GetTextColor() : 0xFFA0A0A0, GetAlignment(), kVAlignCenter,
                        false);
    }
    // A thin bar shows where the view stands in a list longer than the control.
    const int count = items_.Count();
    if (count > VisibleRows() && RectHeight(r) > 0) {
        const int h = RectHeight(r);
        const int barHeight = std::max(20, h * VisibleRows() / count);
        const int barTop = (h - barHeight) * top_ / std::max(1, count - VisibleRows());
        painter.fillRect(QRect(width - 4, barTop, 3, barHeight), QColor(0xC8, 0xC8, 0xC8));
    }
}

void MListBox::OnClick(const MouseEvent& event)
{
    const int index = ItemFromPoint(event.x, event.y);
    if (index < 0) return;
    bool changed = false;
    {
        auto lock = Lock();
        changed = items_.SetCurSel(index);
        Invalidate();
    }
    if (changed) Notify(kNotifyClick, index);
}

void MListBox::OnMouseUp(const MouseEvent& event)
{
    if (event.button != MouseEvent::kRight || !IsEnabled()) return;
    const int index = ItemFromPoint(event.x, event.y);
    bool changed = false;
    std::vector<MenuItem> items;
    {
        auto lock = Lock();
        if (index >= 0) changed = items_.SetCurSel(index);
        if (menuEnabled_) items = menu_;
        Invalidate();
    }
    if (changed) Notify(kNotifyClick, index);
    if (items.empty()) return;
    MenuWnd menu(GetOwnerHwnd(), kMenuMessage);
    for (const auto& item : items) menu.AddItem(item.id, item.text);
    menu.Popup(event.screen);
}

void MListBox::OnMouseMove(const MouseEvent& event)
{
    const int index = ItemFromPoint(event.x, event.y);
    auto lock = Lock();
    if (index != hot_) {
        hot_ = index;
        Invalidate();
    }
}

void MListBox::OnMouseLeave()
{
    auto lock = Lock();
    hot_ = -1;
    Invalidate();
}

void MListBox::OnMouseWheel(const MouseEvent& event)
{
    auto lock = Lock();
    top_ -= event.wheelDelta / 120;
    ClampTop();
    Invalidate();
}

MUI_REGISTER_CONTROL(MListBox)

}  // namespace MUI
