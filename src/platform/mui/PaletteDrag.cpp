#include "platform/mui/PaletteDrag.h"

#include <cstdint>
#include <cstdlib>

#include "platform/mui/WindowServices.h"

namespace MUI {

LPARAM PackClientPoint(POINT point)
{
    const auto x = static_cast<uint16_t>(static_cast<int16_t>(point.x));
    const auto y = static_cast<uint16_t>(static_cast<int16_t>(point.y));
    return static_cast<LPARAM>((static_cast<uint32_t>(y) << 16) | x);
}

POINT UnpackClientPoint(LPARAM value)
{
    const auto bits = static_cast<uint32_t>(value);
    return POINT{static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>(bits >> 16)};
}

void PaletteDrag::Press(const MouseEvent& event, bool onEntry)
{
    armed_ = onEntry && event.button == MouseEvent::kLeft;
    dragging_ = false;
    dropped_ = false;
    startX_ = event.x;
    startY_ = event.y;
}

bool PaletteDrag::Move(HWND owner, const MouseEvent& event)
{
    if (!armed_ || (event.keys & MK_LBUTTON) == 0) {
        return false;
    }
    if (!dragging_ && std::abs(event.x - startX_) < kThreshold &&
        std::abs(event.y - startY_) < kThreshold) {
        return false;
    }
    dragging_ = true;
    PostMessage(owner, kDragMoveMessage, 0, PackClientPoint(event.client));
    return true;
}

bool PaletteDrag::Release(HWND owner, const MouseEvent& event)
{
    const bool drop = armed_ && dragging_;
    armed_ = false;
    dragging_ = false;
    dropped_ = drop;
    if (drop) {
        PostMessage(owner, kDropMessage, 0, PackClientPoint(event.client));
    }
    return drop;
}

}  // namespace MUI
