// The items of a combo box or list box: texts with an int datum each, and at most one
// selected item. Plain state without a lock: the owning control guards it.
#pragma once

#include <string>
#include <vector>

namespace MUI {

class ItemList {
public:
    struct Item {
        std::wstring text;
        int data = 0;
    };

    // Appends and returns the new index.
    int Add(std::wstring text, int data);
    // Inserts before index (clamped to 0..count) and returns where the item went.
    int Insert(int index, std::wstring text, int data);
    // Removes one item; a selection behind it moves with it, a removed selection is cleared.
    bool Remove(int index);
    void Clear();

    int Count() const { return static_cast<int>(items_.size()); }
    bool IsValid(int index) const { return index >= 0 && index < Count(); }
    // Empty text and data -1 for an index out of range.
    std::wstring Text(int index) const;
    int Data(int index) const;
    bool SetText(int index, std::wstring text);
    bool SetData(int index, int data);
    // First index holding the datum, -1 when none does.
    int FindData(int data) const;

    int CurSel() const { return selected_; }
    // An index out of range (-1 included) clears the selection. True when the selection changed.
    bool SetCurSel(int index);
    // Selects the first item holding the datum; without one the selection stays.
    // Returns the selected index or -1 when the datum is not listed.
    int SelectData(int data);
    // Data and text of the selected item; -1 and empty text without a selection.
    int CurData() const { return Data(selected_); }
    std::wstring CurText() const { return Text(selected_); }

    const std::vector<Item>& Items() const { return items_; }

private:
    std::vector<Item> items_;
    int selected_ = -1;
};

}  // namespace MUI
