#include "platform/mui/PaletteTileControl.h"

namespace MUI {

void PaletteTileControl::OnMouseDown(const MouseEvent& event)
{
    pressed_ = ItemFromPoint(event.x, event.y);
    drag_.Press(event, pressed_ >= 0);
}

void PaletteTileControl::OnMouseMove(const MouseEvent& event)
{
    if (drag_.Move(GetOwnerHwnd(), event)) {
        auto lock = Lock();
        if (pressed_ >= 0 && pressed_ < EntryCount() && chosen_ != pressed_) {
            chosen_ = pressed_;
            Invalidate();
        }
        return;
    }
    const int index = ItemFromPoint(event.x, event.y);
    auto lock = Lock();
    if (index != hot_) {
        hot_ = index;
        Invalidate();
    }
}

void PaletteTileControl::OnMouseUp(const MouseEvent& event)
{
    drag_.Release(GetOwnerHwnd(), event);
}

void PaletteTileControl::OnMouseLeave()
{
    auto lock = Lock();
    hot_ = -1;
    Invalidate();
}

}  // namespace MUI
