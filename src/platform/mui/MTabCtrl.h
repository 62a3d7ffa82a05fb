// MTabCtrl: a row of tabs, each with an item id, a caption, an icon and the container it shows.
// Selecting an index (SetCurSel, or a click on another tab, which also sends kNotifyClick with
// the new index) shows that item's container and hides the other items' containers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/MControl.h"

namespace MUI {

class MTabCtrl : public MControl {
public:
    MTabCtrl();

    // Appends an item; `container` may be none. The two trailing values are kept for the
    // library's callers and have no effect. Returns the item's index.
    int InsertItem(int itemId, std::wstring_view caption, std::wstring_view icon,
                   MControl* container, int reserved1 = 4, int reserved2 = 0);
    int GetItemCount() const;
    // -1 out of range.
    int GetItemID(int index) const;
    // The index of the item with the id, -1 for none.
    int FindItem(int itemId) const;
    bool SetItemCaption(int index, std::wstring_view caption);
    std::wstring GetItemCaption(int index) const;
    MControl* GetItemContainer(int index) const;

    // Out of range: nothing changes and -1 is returned; otherwise the index.
    int SetCurSel(int index);
    int GetCurSel() const;
    int GetCurItemID() const;

    // Geometry of the tab row: each tab `width` x `height`, laid out from the left padding.
    void SetTabWidth(int width);
    void SetTabHeight(int height);
    void SetPadding(int left, int right, int top, int bottom);
    // Item sizes as (normal, selected, spacing between tabs).
    void SetItemWidth(int normal, int selected, int spacing);
    void SetItemHeight(int normal, int selected, int spacing);

    // The tab under a point of the control (x, y relative to its rectangle), -1 for none.
    int ItemFromPoint(int x, int y) const;

protected:
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;
    void OnMouseMove(const MouseEvent& event) override;
    void OnMouseLeave() override;

private:
    struct Item {
        int id;
        std::wstring caption;
        std::wstring icon;
        MControl* container;
    };
    // Lock held: the rectangle of tab `index` in the control.
    struct Box {
        int left, top, width, height;
    };
    Box TabBox(int index) const;
    void ShowContainers();  // lock held

    std::vector<Item> items_;
    int current_ = -1;
    int hot_ = -1;
    int tabWidth_ = 120;
    int tabHeight_ = 40;
    int padLeft_ = 0;
    int padRight_ = 0;
    int padTop_ = 0;
    int padBottom_ = 0;
    int itemWidth_[3] = {0, 0, 0};
    int itemHeight_[3] = {0, 0, 0};
};

}  // namespace MUI
