#include "platform/mui/KeySOCDCtrl.h"

#include "platform/mui/ControlFactory.h"

namespace MUI {

MUI_REGISTER_CONTROL(KeySOCDCtrl)

KeySOCDCtrl::KeySOCDCtrl()
{
    SetTextSize(12);
    SetCellCount(2);
}

std::vector<RECT> KeySOCDCtrl::CellRects() const
{
    std::vector<RECT> rects;
    for (int i = 0; i < static_cast<int>(cells_.size()); ++i) {
        const int left = i * kCellPitch;
        rects.push_back(RECT{left, 5, left + kCellWidth, 5 + kCellHeight});
    }
    return rects;
}

}  // namespace MUI
