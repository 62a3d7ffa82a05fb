#include "platform/mui/ItemList.h"

#include <algorithm>

namespace MUI {

int ItemList::Add(std::wstring text, int data)
{
    items_.push_back(Item{std::move(text), data});
    return Count() - 1;
}

int ItemList::Insert(int index, std::wstring text, int data)
{
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, Item{std::move(text), data});
    if (selected_ >= index) ++selected_;
    return index;
}

bool ItemList::Remove(int index)
{
    if (!IsValid(index)) return false;
    items_.erase(items_.begin() + index);
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    return true;
}

void ItemList::Clear()
{
    items_.clear();
    selected_ = -1;
}

std::wstring ItemList::Text(int index) const
{
    return IsValid(index) ? items_[index].text : std::wstring();
}

int ItemList::Data(int index) const { return IsValid(index) ? items_[index].data : -1; }

bool ItemList::SetText(int index, std::wstring text)
{
    if (!IsValid(index)) return false;
    items_[index].text = std::move(text);
    return true;
}

bool ItemList::SetData(int index, int data)
{
    if (!IsValid(index)) return false;
    items_[index].data = data;
    return true;
}

int ItemList::FindData(int data) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i].data == data) return i;
    return -1;
}

bool ItemList::SetCurSel(int index)
{
    const int next = IsValid(index) ? index : -1;
    if (next == selected_) return false;
    selected_ = next;
    return true;
}

int ItemList::SelectData(int data)
{
    const int index = FindData(data);
    if (index >= 0) selected_ = index;
    return index;
}

}  // namespace MUI
