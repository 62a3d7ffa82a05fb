#include "platform/mui/KeyMTCtrl.h"

#include "platform/mui/ControlFactory.h"

namespace MUI {

MUI_REGISTER_CONTROL(KeyMTCtrl)

KeyMTCtrl::KeyMTCtrl()
{
    SetTextSize(12);
    SetCellCount(2);
    current_ = 0;
}

std::vector<RECT> KeyMTCtrl::CellRects() const
{
    std::vector<RECT> rects;
    for (int i = 0; i < static_cast<int>(cells_.size()); ++i) {
        const int left = i * kCellPitch;
        rects.push_back(RECT{left, 0, left + kCellWidth, kCellHeight});
    }
    return rects;
}

}  // namespace MUI
