#include "platform/mui/CRecordList.h"

#include <algorithm>

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

// The delay typed into the editor, or -1 for text that is not a number of 0..max.
int ParseDelay(const std::wstring& text, int max)
{
    size_t begin = text.find_first_not_of(L' ');
    size_t end = text.find_last_not_of(L' ');
    if (begin == std::wstring::npos) return -1;
    long long value = 0;
    for (size_t i = begin; i <= end; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return -1;
        value = value * 10 + (text[i] - L'0');
        if (value > max) return -1;
    }
    return static_cast<int>(value);
}

// Key and mouse presses point down, releases up.
bool IsPress(int type) { return type == 0 || type == 2 || type == 4; }

}  // namespace

CRecordList::CRecordList() { SetTextColor(0xFF3E3E3E); }

void CRecordList::DelAllItems()
{
    auto lock = Lock();
    items_.clear();
    selected_ = -1;
    top_ = 0;
    editing_ = false;
    Invalidate();
}

int CRecordList::AddItem(const RecordItem& item)
{
    auto lock = Lock();
    items_.push_back(item);
    const int index = static_cast<int>(items_.size()) - 1;
    ScrollTo(index);
    Invalidate();
    return index;
}

int CRecordList::InsertItem(int index, const RecordItem& item)
{
    auto lock = Lock();
    index = std::clamp(index, 0, static_cast<int>(items_.size()));
    items_.insert(items_.begin() + index, item);
    if (selected_ >= index) ++selected_;
    if (editing_ && editIndex_ >= index) ++editIndex_;
    Invalidate();
    return index;
}

bool CRecordList::DeleteItem(int index)
{
    auto lock = Lock();
    if (!Valid(index)) return false;
    items_.erase(items_.begin() + index);
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    if (editing_ && editIndex_ == index) editing_ = false;
    if (editing_ && editIndex_ > index) --editIndex_;
    ClampTop();
    Invalidate();
    return true;
}

int CRecordList::GetItemCount() const
{
    auto lock = Lock();
    return static_cast<int>(items_.size());
}

bool CRecordList::GetItem(int index, RecordItem* item) const
{
    auto lock = Lock();
    if (!Valid(index)) return false;
    if (item) *item = items_[index];
    return true;
}

bool CRecordList::SetItem(int index, const RecordItem& item)
{
    auto lock = Lock();
    if (!Valid(index)) return false;
    items_[index] = item;
    Invalidate();
    return true;
}

std::vector<RecordItem> CRecordList::GetAllItems() const
{
    auto lock = Lock();
    return items_;
}

int CRecordList::SetCurSel(int index)
{
    auto lock = Lock();
    selected_ = Valid(index) ? index : -1;
    if (selected_ >= 0) ScrollTo(selected_);
    Invalidate();
    return selected_;
}

int CRecordList::GetCurSel() const
{
    auto lock = Lock();
    return selected_;
}

bool CRecordList::SwapItem(int first, int second)
{
    auto lock = Lock();
    if (!Valid(first) || !Valid(second)) return false;
    std::swap(items_[first], items_[second]);
    if (selected_ == first)
        selected_ = second;
    else if (selected_ == second)
        selected_ = first;
    if (selected_ >= 0) ScrollTo(selected_);
    Invalidate();
    return true;
}

bool CRecordList::UpdateDelayTime(int delay)
{
    auto lock = Lock();
    if (items_.empty()) return false;
    items_.back().delay = delay;
    Invalidate();
    return true;
}

void CRecordList::ShowEdit()
{
    auto lock = Lock();
    if (!Valid(selected_)) return;
    editing_ = true;
    editIndex_ = selected_;
    ScrollTo(selected_);
    Invalidate();
}

bool CRecordList::IsEditing() const
{
    auto lock = Lock();
    return editing_;
}

void CRecordList::SetItemHeight(int height)
{
    auto lock = Lock();
    itemHeight_ = std::max(height, 1);
    ClampTop();
    Invalidate();
}

int CRecordList::GetTopIndex() const
{
    auto lock = Lock();
    return top_;
}

int CRecordList::ItemFromPoint(int x, int y) const
{
    auto lock = Lock();
    const RECT r = GetRect();
    if (x < 0 || y < 0 || x >= RectWidth(r) || y >= RectHeight(r)) return -1;
    const int index = top_ + y / itemHeight_;
    return Valid(index) ? index : -1;
}

int CRecordList::VisibleRows() const { return std::max(1, RectHeight(GetRect()) / itemHeight_); }

void CRecordList::ClampTop()
{
    top_ = std::clamp(top_, 0, std::max(0, static_cast<int>(items_.size()) - VisibleRows()));
}

void CRecordList::ScrollTo(int index)
{
    if (index < top_) top_ = index;
    if (index >= top_ + VisibleRows()) top_ = index - VisibleRows() + 1;
    ClampTop();
}

void CRecordList::EndEdit(const std::wstring& text)
{
    int index = -1;
    {
        auto lock = Lock();
        if (!editing_) return;
        editing_ = false;
        index = editIndex_;
        const int delay = ParseDelay(text, kMaxDelay);
        if (delay >= 0 && Valid(index)) items_[index].delay = delay;
        Invalidate();
    }
    Notify(kNotifyEditEnded, index);
}

void CRecordList::SyncWidget(QWidget* widget)
{
    MControl::SyncWidget(widget);
    const int width = RectWidth(GetRect());
    const int delayLeft = width * 70 / 100;
    const QRect rect(delayLeft, (editIndex_ - top_) * itemHeight_, width - delayLeft - 6,
                     itemHeight_);
    const std::wstring text = Valid(editIndex_) ? std::to_wstring(items_[editIndex_].delay) : L"";
    InPlaceEdit::Sync(editor_, editing_, widget, rect, text, GetFont(), Link(),
                      [](MControl& control, const std::wstring& typed) {
                          static_cast<CRecordList&>(control).EndEdit(typed);
                      });
}

void CRecordList::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const int width = RectWidth(r);
    const int nameRight = width * 45 / 100;
    const int delayLeft = width * 70 / 100;
    if (GetBkColor() != 0)
        painter.fillRect(QRect(0, 0, width, RectHeight(r)), ToQColor(GetBkColor()));
    const ARGB text = IsEnabled() ? GetTextColor() : 0xFFA0A0A0;
    const int end = std::min(static_cast<int>(items_.size()), top_ + VisibleRows() + 1);
    for (int i = top_; i < end; ++i) {
        const RecordItem& item = items_[i];
        const QRect row(0, (i - top_) * itemHeight_, width, itemHeight_);
        if (i == selected_)
            painter.fillRect(row, QColor(0xE3, 0xEC, 0xF7));
        else if (i % 2 == 1)
            painter.fillRect(row, QColor(0xF7, 0xF7, 0xF7));
        DrawControlText(painter, QRect(10, row.top(), nameRight - 12, row.height()), item.name,
                        GetFont(), text, kAlignLeft, kVAlignCenter, false);
        const bool press = IsPress(item.type);
        const ARGB arrow = !IsEnabled() ? 0xFFA0A0A0 : press ? 0xFF2F7DE1 : 0xFF21A939;
        DrawControlText(painter, QRect(nameRight, row.top(), delayLeft - nameRight, row.height()),
                        press ? L"\u2193" : L"\u2191", GetFont(), arrow, kAlignCenter,
                        kVAlignCenter, false);
        if (!(editing_ && i == editIndex_))
            DrawControlText(painter,
                            QRect(delayLeft, row.top(), width - delayLeft - 8, row.height()),
                            std::to_wstring(item.delay) + L" ms", GetFont(), text, kAlignCenter,
                            kVAlignCenter, false);
    }
}

void CRecordList::OnClick(const MouseEvent& event)
{
    const int index = ItemFromPoint(event.x, event.y);
    if (index < 0) return;
    SetCurSel(index);
    Notify(kNotifyClick, index);
}

void CRecordList::OnMouseDoubleClick(const MouseEvent& event)
{
    const int index = ItemFromPoint(event.x, event.y);
    if (index < 0 || !IsEnabled()) return;
    SetCurSel(index);
    ShowEdit();
}

void CRecordList::OnMouseWheel(const MouseEvent& event)
{
    auto lock = Lock();
    top_ -= event.wheelDelta / 120;
    ClampTop();
    Invalidate();
}

MUI_REGISTER_CONTROL(CRecordList)

}  // namespace MUI
