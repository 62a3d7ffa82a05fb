// KeyTypeTab: the tab strip of the key palette, six tabs (0..5) with a title each, drawn over
// the background picture (SetImage). The tabs run down the control when it is taller than wide
// and across it otherwise, each of the item size. A click on another tab makes it current and
// sends kNotifyClick with the tab index.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include <QRect>

#include "platform/mui/MControl.h"

namespace MUI {

class KeyTypeTab : public MControl {
public:
    static constexpr int kTabCount = 6;

    KeyTypeTab();

    bool SetTabTitle(int index, std::wstring_view title);
    std::wstring GetTabTitle(int index) const;

    // Size of one tab in pixels; values below 1 are taken as 1.
    void SetItemSize(int width, int height);
    SIZE GetItemSize() const;

    // Out of range: nothing changes and false is returned. Sends no notification.
    bool SetCurTab(int index);
    int GetCurTab() const;

    // The tab under a point of the control, -1 for none.
    int TabFromPoint(int x, int y) const;

    // A disabled tab is drawn pale and takes no click (all are enabled at first).
    bool SetTabEnabled(int index, bool enabled);
    bool IsTabEnabled(int index) const;

protected:
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;
    void OnMouseMove(const MouseEvent& event) override;
    void OnMouseLeave() override;

private:
    QRect TabBox(int index) const;  // lock held

    std::array<std::wstring, kTabCount> titles_;
    std::array<bool, kTabCount> enabled_{true, true, true, true, true, true};
    int current_ = 0;
    int hot_ = -1;
    int itemWidth_ = 170;
    int itemHeight_ = 50;
};

}  // namespace MUI
