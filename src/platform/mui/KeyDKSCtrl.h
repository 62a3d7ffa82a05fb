// KeyDKSCtrl: the dynamic-keystroke grid. Cells 0..3 are the four binding rows, cells 4..7 the
// four travel points (caption "1.5mm", value in 0.1 mm) across the top; each binding row has a
// trigger box under every travel point, and the row's boxes form its trigger-state word (bit k
// set: the binding acts at travel point k). The state words are the item states 16, 20, 24 and
// 28. A click on a binding cell sends kNotifyClick with 1, on a travel point with 2, on a
// trigger box (which it flips) with 3; the clicked cell is then current.
#pragma once

#include <array>

#include "platform/mui/KeyCellControl.h"

namespace MUI {

class KeyDKSCtrl : public KeyCellControl {
public:
    static constexpr int kBindingRows = 4;
    static constexpr int kFirstPoint = 4;
    static constexpr int kFirstStateIndex = 16;
    static constexpr int kStateIndexStep = 4;
    static constexpr int kClickBinding = 1;
    static constexpr int kClickPoint = 2;
    static constexpr int kClickTrigger = 3;

    KeyDKSCtrl();

    // The state word at index 16 + 4 x row; other indexes: 0 and nothing changed.
    int GetItemState(int index) const;
    bool SetItemState(int index, int state);
    // A travel point's value in 0.1 mm with its caption "%0.1fmm"; false for no point cell.
    bool SetItemValue(int cell, int value);
    // The top-left corner of a cell in the window's client coordinates.
    POINT GetItemPoint(int cell) const;
    // The trigger box of a row and travel point in the control.
    static RECT TriggerRect(int row, int point);

protected:
    std::vector<RECT> CellRects() const override;
    int ClickValue(int index) const override;
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;

private:
    std::array<int, kBindingRows> states_{};
};

}  // namespace MUI
