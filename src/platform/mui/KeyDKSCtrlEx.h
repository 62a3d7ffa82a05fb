// KeyDKSCtrlEx: the list of a profile's advanced keys, one row per key: the key's caption and
// kind, the names of its bindings or keys, and a mode text, with a delete icon at the row's
// right end. Each item carries a value (the advanced key's id). A click on a row selects it and
// sends kNotifyClick with the value; a click on its delete icon selects it and sends
// kNotifyItemDeleted with the value (the owner removes the row when the delete succeeds). The
// title is drawn in the list's header (the item count, for instance); the wheel scrolls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/MControl.h"

namespace MUI {

class KeyDKSCtrlEx : public MControl {
public:
    struct Item {
        std::wstring caption;  // the key, or "A / B" for a pair
        int type = 0;          // the advanced key's kind (14..19)
        std::vector<std::wstring> names;
        std::wstring text;  // mode text of a pair
        int value = 0;
    };
    static constexpr int kHeaderHeight = 30;
    static constexpr int kRowHeight = 56;
    static constexpr int kDeleteSize = 20;

    KeyDKSCtrlEx();

    void ClearItems();
    // A one-key item: its key's caption, kind and up to four binding names.
    int AddItem(std::wstring_view caption, int type, const std::vector<std::wstring>& names,
                int value);
    // A two-key item: the names of key B and key A (shown "A / B"), kind and mode text.
    int AddItem1(std::wstring_view nameB, std::wstring_view nameA, int type,
                 std::wstring_view modeText, int value);
    int GetItemCount() const;
    std::vector<Item> GetItems() const;
    // Selects the first item of the value (none when no item has it).
    void SetSelectValue(int value);
    // The selected item's value, 0 for none.
    int GetSelectValue() const;
    // Removes the selected item; false when none is selected.
    bool RemoveCurItem();
    // The kind names shown per type 14..19 (DKS, MT, ...).
    void SetTypeNames(const std::vector<std::wstring>& names);

    // The row under a point of the control, -1 for none; `onDelete` tells whether the point is
    // on its delete icon.
    int ItemFromPoint(int x, int y, bool* onDelete = nullptr) const;
    // The delete icon's rectangle of a shown row, in the control.
    RECT DeleteRect(int index) const;

protected:
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;
    void OnMouseWheel(const MouseEvent& event) override;

private:
    RECT RowRect(int index) const;  // lock held

    std::vector<Item> items_;
    std::vector<std::wstring> typeNames_;
    int selected_ = -1;
    int scroll_ = 0;  // rows scrolled out at the top
};

}  // namespace MUI
