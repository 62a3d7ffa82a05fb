// KeyCellControl: the base of the advanced-key editor's binding controls. It keeps a row of
// cells, each with a caption, a value (a key code or a function code) and a kind (2 keyboard
// key, 3 macro, 6 consumer, 12 device function; kind 0 with value 0 is an empty cell), and a
// current cell. Derived controls place the cells (CellRects) and may draw more around them.
// A click on a cell makes it current and sends kNotifyClick with ClickValue(cell).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/MControl.h"

namespace MUI {

struct KeyCell {
    std::wstring caption;
    int value = 0;
    int kind = 0;
    friend bool operator==(const KeyCell&, const KeyCell&) = default;
};

class KeyCellControl : public MControl {
public:
    // The number of cells; cells past it are dropped, new ones are empty.
    void SetCellCount(int count);
    int GetCellCount() const;
    // False for an index that is no cell.
    bool SetItem(int index, std::wstring_view caption, int value, int kind);
    bool GetItem(int index, KeyCell& cell) const;
    std::vector<KeyCell> GetItems() const;
    // The current cell, -1 for none; an index that is no cell changes nothing.
    bool SetCurItem(int index);
    int GetCurItem() const;
    // Gives the current cell caption, value and kind; false when none is current.
    bool SetCurValue(std::wstring_view caption, int value, int kind);
    // The library's look of the control; the derived controls read it.
    void SetControlType(int type);
    int GetControlType() const;

    // The cell under a point of the control, -1 for none.
    int CellFromPoint(int x, int y) const;
    // A key function dragged over the window: the cell under the point (client coordinates)
    // becomes current and is marked as the drop target.
    void DragMove(int clientX, int clientY);
    // The cell's rectangle in the control, empty for an index that is no cell.
    RECT GetCellRect(int index) const;

protected:
    // Lock held: every cell's rectangle in the control (one per cell).
    virtual std::vector<RECT> CellRects() const = 0;
    // Lock held: the value sent with the click on a cell.
    virtual int ClickValue(int index) const;
    // Lock held: draws one cell; `marked` for the current cell.
    void PaintCell(QPainter& painter, const RECT& rect, const KeyCell& cell, bool marked) const;
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;

    std::vector<KeyCell> cells_;
    int current_ = -1;
    int controlType_ = 0;
};

}  // namespace MUI
