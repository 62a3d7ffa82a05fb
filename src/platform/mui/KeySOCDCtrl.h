// KeySOCDCtrl: the key or the two keys an advanced key is made on (key A, key B), shown as cells
// side by side. Control types: 8 the key selection and rapid snap, 6 SOCD, 10 one-key switch.
#pragma once

#include "platform/mui/KeyCellControl.h"

namespace MUI {

class KeySOCDCtrl : public KeyCellControl {
public:
    static constexpr int kCellWidth = 70;
    static constexpr int kCellHeight = 50;
    static constexpr int kCellPitch = 80;

    KeySOCDCtrl();

protected:
    std::vector<RECT> CellRects() const override;
};

}  // namespace MUI
