// KeyValueList2: the tiles of one key-palette tab. Each tile has a value (a key code, usage or
// macro id), a caption (may hold line breaks), a tool tip and a rectangle inside the control.
// A click on a tile selects it and sends kNotifyClick with its value. A tile is also a drag
// source (PaletteDrag): dragging it selects it and ends in a drop message to the window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/PaletteTileControl.h"

namespace MUI {

class KeyValueList2 : public PaletteTileControl {
public:
    struct Tile {
        int value;
        std::wstring caption;
        std::wstring tip;
        RECT rect;  // in the control
    };

    KeyValueList2();

    void ClearAllItems();
    // Appends a tile; returns its index.
    int AddKeyInfo(int value, std::wstring_view caption, std::wstring_view tip, const RECT& rect);
    int GetItemCount() const;
    std::vector<Tile> GetItems() const;

    // Selects the first tile with the value; any value no tile has (-1) leaves none selected.
    void SetSelectKeyValue(int value);
    // The selected tile's value and caption; false (and nothing written) when none is selected.
    bool GetSelectKeyValue(int& value, std::wstring& caption) const;

    // The tile under a point of the control, -1 for none.
    int ItemFromPoint(int x, int y) const override;

protected:
    int EntryCount() const override { return static_cast<int>(tiles_.size()); }
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;

private:
    int IndexAt(int x, int y) const;  // lock held

    std::vector<Tile> tiles_;
};

}  // namespace MUI
