// KeyFuncControl: the ordinary keys of the key palette, drawn as a small keyboard, with a row
// of modifier chips above it. Each key item carries four values and a name: (kind 0, HID
// usage, added modifier usage, 0); the "Disable" item carries usage 3. A chip (Ctrl, Shift,
// Alt, Win) adds its left-hand modifier to the current key (one at a time; a second click
// takes it off); the name then reads "Ctrl+A". A click on a key makes it current and sends
// kNotifyClick with its index. Keys are drag sources (PaletteDrag) like the value tiles.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/PaletteTileControl.h"

namespace MUI {

class KeyFuncControl : public PaletteTileControl {
public:
    struct Item {
        std::array<int, 4> values;  // kind, usage, modifier usage (set by the chips), extra
        std::wstring name;
        RECT rect;  // in the control
    };
    struct Chip {
        int usage;
        std::wstring name;
        RECT rect;
    };
    // The usage of the item that stands for "no action".
    static constexpr int kDisableUsage = 3;

    // Starts with the default keys and chips.
    KeyFuncControl();

    void ClearItems();
    int AddItem(const std::array<int, 4>& values, std::wstring_view name, const RECT& rect);
    int GetItemCount() const;
    std::vector<Item> GetItems() const;
    // Renames every item whose usage is the given one (the "Disable" key in another language).
    void SetItemNameByUsage(int usage, std::wstring_view name);
    std::vector<Chip> GetChips() const;

    // -1 for none; out of range changes nothing and gives false.
    bool SetCurItem(int index);
    int GetCurItem() const;
    // The added modifier usage (0xE0..0xE7), 0 for none; other values change nothing.
    bool SetModifier(int usage);
    int GetModifier() const;

    // The current key's four values (the modifier filled in) and its name; false and nothing
    // written when no key is current.
    bool GetCurItemData(int& value1, int& value2, int& value3, int& value4,
                        std::wstring& name) const;

    // The key or chip under a point of the control, -1 for none.
    int ItemFromPoint(int x, int y) const override;
    int ChipFromPoint(int x, int y) const;

protected:
    // Takes the modifier chips away (a palette whose keys carry no modifier).
    void RemoveChips();
    int EntryCount() const override { return static_cast<int>(items_.size()); }
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;

private:
    std::vector<Item> items_;
    std::vector<Chip> chips_;
    int modifier_ = 0;
};

// The default key items and modifier chips, laid out from the control's top-left corner.
std::vector<KeyFuncControl::Item> DefaultKeyFuncItems();
std::vector<KeyFuncControl::Chip> DefaultKeyFuncChips();

}  // namespace MUI
