// MListBox: a scrolling list of texts with an int datum each and one selected row. A click on a
// row selects it and sends kNotifyClick with its index when the selection changed. A right click
// selects the row under the mouse and opens the list's own context menu, whose choice is posted
// to the owning window as the menu message (0x731) with the item id in wParam and lParam.
// ShowEdit edits the selected row's text in place; a non-empty result replaces the text, then
// kNotifyEditEnded is sent with the row's index.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QPointer>

#include "platform/mui/InPlaceEdit.h"
#include "platform/mui/ItemList.h"
#include "platform/mui/MControl.h"

namespace MUI {

class MListBox : public MControl {
public:
    struct MenuItem {
        unsigned id;
        std::wstring text;
    };
    // The message the context menu posts to the owner.
    static constexpr UINT kMenuMessage = 0x731;

    MListBox();

    int AddItem(std::wstring_view text, int data = 0);
    int InsertItem(int index, std::wstring_view text, int data = 0);
    bool DeleteItem(int index);
    void DelAllItems();
    int GetItemCount() const;
    std::wstring GetItemText(int index) const;
    bool SetItemText(int index, std::wstring_view text);
    // The same as SetItemText.
    bool ModifyItemString(int index, std::wstring_view text);
    int GetItemData(int index) const;
    bool SetItemData(int index, int data);

    int SetCurSel(int index);
    int GetCurSel() const;
    int SelectData(int data);
    int GetCurData() const;

    void SetItemHeight(int height);
    int GetItemHeight() const;
    // The first row shown.
    int GetTopIndex() const;
    void SetTopIndex(int index);

    // In-place editing of the selected row; nothing without a selection.
    void ShowEdit();
    bool IsEditing() const;
    std::wstring GetTitleEx() const;

    // The context menu's items (the defaults offer 600 new, 605 delete, 606 copy, 610 paste,
    // 607 import, 608 export, 609 rename) and whether a right click opens it.
    void SetMenuItems(std::vector<MenuItem> items);
    std::vector<MenuItem> GetMenuItems() const;
    void EnableContextMenu(bool enable);

    // Row under a point of the control (x, y relative to its rectangle), -1 for none.
    int ItemFromPoint(int x, int y) const;

protected:
    void SyncWidget(QWidget* widget) override;
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;
    void OnMouseUp(const MouseEvent& event) override;
    void OnMouseMove(const MouseEvent& event) override;
    void OnMouseLeave() override;
    void OnMouseWheel(const MouseEvent& event) override;

    // Lock held: the height of one row.
    virtual int RowHeight() const;

private:
    void EndEdit(const std::wstring& text);
    void ScrollToSelection();  // lock held
    void ClampTop();           // lock held
    int VisibleRows() const;   // lock held

    ItemList items_;
    int itemHeight_ = 30;
    int top_ = 0;
    int hot_ = -1;
    bool menuEnabled_ = true;
    std::vector<MenuItem> menu_;
    bool editing_ = false;
    int editIndex_ = -1;
    std::wstring titleEx_;
    QPointer<InPlaceEdit> editor_;
};

}  // namespace MUI
