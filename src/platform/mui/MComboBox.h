// MComboBox: a drop-down list of texts with an int datum each. The box shows its title, which
// follows the selected item's text (SetTitle sets it directly, e.g. a caption without a list
// choice). Clicking the box opens the list; choosing an item selects it and sends kNotifyClick
// with its index when the selection changed. ShowEdit opens an in-place editor over the box;
// when it ends (Enter, Escape or leaving it) the typed text is kept for GetTitleEx and
// kNotifyEditEnded is sent. The items are not changed by the edit.
#pragma once

#include <string>
#include <string_view>

#include <QPointer>

#include "platform/mui/InPlaceEdit.h"
#include "platform/mui/ItemList.h"
#include "platform/mui/MControl.h"

namespace MUI {

class MComboBox : public MControl {
public:
    MComboBox();

    // Returns the index of the new item.
    int AddItem(std::wstring_view text, int data = 0);
    int InsertItem(int index, std::wstring_view text, int data = 0);
    bool DeleteItem(int index);
    void DelAllItems();
    int GetItemCount() const;
    // Empty text and data -1 out of range.
    std::wstring GetItemText(int index) const;
    bool SetItemText(int index, std::wstring_view text);
    int GetItemData(int index) const;
    bool SetItemData(int index, int data);

    // -1 or an index out of range clears the selection (and the shown text). Returns the
    // selected index.
    int SetCurSel(int index);
    int GetCurSel() const;
    // Selects the first item with the datum; without one the selection stays. Returns the
    // item's index or -1.
    int SelectData(int data);
    // The selected item's datum, -1 without a selection.
    int GetCurData() const;

    // Items of the drop-down list: height in pixels, at most `visibleItems` shown at once.
    void SetListItemHeight(int height, int visibleItems = 8);
    // Colour of the drop-down list's background and of its selected row.
    void SetListColors(ARGB background, ARGB selected);

    // In-place editing of the shown text.
    void ShowEdit();
    bool IsEditing() const;
    std::wstring GetTitleEx() const;

    // UI thread: what choosing item `index` from the list does (also used for keyboard picks).
    void PickItem(int index);
    // UI thread: opens the drop-down list below the box (a click on the box does this).
    void OpenList();
    bool IsListOpen() const;

protected:
    void SyncWidget(QWidget* widget) override;
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;

    // A pick of the item already selected notifies too (menu-like boxes).
    virtual bool NotifiesEveryPick() const { return false; }
    // The frame look: the plain box draws a white rounded field with a border.
    virtual bool DrawsField() const { return true; }

    // Lock held: the title follows the selection.
    void ShowSelectedText();

    ItemList items_;

private:
    void EndEdit(const std::wstring& text);

    int listItemHeight_ = 30;
    int listVisibleItems_ = 8;
    ARGB listBackground_ = 0xFFFFFFFF;
    ARGB listSelected_ = 0xFFE4F4E7;
    bool editing_ = false;
    std::wstring titleEx_;
    QPointer<InPlaceEdit> editor_;
    QPointer<QWidget> list_;
};

}  // namespace MUI
