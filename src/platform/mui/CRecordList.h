// CRecordList: the macro step list. Each row is a RecordItem (name, step type, value, delay in
// ms) shown as name, an arrow for the step (down or up) and the delay. A click selects a row
// (kNotifyClick with its index). ShowEdit, or a double click on a row, edits that row's delay in
// place; when the edit ends the delay takes the typed number (text that is not a number of
// 0..999999 keeps the old delay) and kNotifyEditEnded is sent with the row's index.
#pragma once

#include <string>
#include <vector>

#include <QPointer>

#include "platform/mui/InPlaceEdit.h"
#include "platform/mui/MControl.h"

namespace MUI {

struct RecordItem {
    std::wstring name;
    int type = 0;
    int value = 0;
    int delay = 0;
    friend bool operator==(const RecordItem&, const RecordItem&) = default;
};

class CRecordList : public MControl {
public:
    static constexpr int kMaxDelay = 999999;

    CRecordList();

    void DelAllItems();
    // Appends and scrolls the new row into view; returns its index.
    int AddItem(const RecordItem& item);
    // Inserts before `index` (clamped to 0..count); returns where the row went.
    int InsertItem(int index, const RecordItem& item);
    // A removed selection is cleared; a selection behind the row moves with it.
    bool DeleteItem(int index);
    int GetItemCount() const;
    bool GetItem(int index, RecordItem* item) const;
    bool SetItem(int index, const RecordItem& item);
    std::vector<RecordItem> GetAllItems() const;

    int SetCurSel(int index);  // out of range clears; returns the selection
    int GetCurSel() const;
    // Exchanges two rows; a selected row stays selected where it went.
    bool SwapItem(int first, int second);
    // Sets the delay of the last row; false for an empty list.
    bool UpdateDelayTime(int delay);

    void ShowEdit();  // the selected row's delay; nothing without a selection
    bool IsEditing() const;

    void SetItemHeight(int height);
    int GetTopIndex() const;
    // Row under a point of the control (relative to its rectangle), -1 for none.
    int ItemFromPoint(int x, int y) const;

protected:
    void SyncWidget(QWidget* widget) override;
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;
    void OnMouseDoubleClick(const MouseEvent& event) override;
    void OnMouseWheel(const MouseEvent& event) override;

private:
    void EndEdit(const std::wstring& text);
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(items_.size()); }
    int VisibleRows() const;   // lock held
    void ClampTop();           // lock held
    void ScrollTo(int index);  // lock held

    std::vector<RecordItem> items_;
    int selected_ = -1;
    int top_ = 0;
    int itemHeight_ = 30;
    bool editing_ = false;
    int editIndex_ = -1;
    QPointer<InPlaceEdit> editor_;
};

}  // namespace MUI
