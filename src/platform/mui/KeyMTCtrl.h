// KeyMTCtrl: the binding cells of a mod-tap key (control type 2: the tap and the hold binding)
// or of a toggle key (control type 4: one binding). A click or a dragged key function makes a
// cell current; the editor then gives it the picked binding (SetCurValue).
#pragma once

#include "platform/mui/KeyCellControl.h"

namespace MUI {

class KeyMTCtrl : public KeyCellControl {
public:
    static constexpr int kTypeModTap = 2;
    static constexpr int kTypeToggle = 4;
    static constexpr int kCellWidth = 100;
    static constexpr int kCellHeight = 50;
    static constexpr int kCellPitch = 130;

    KeyMTCtrl();

protected:
    std::vector<RECT> CellRects() const override;
};

}  // namespace MUI
