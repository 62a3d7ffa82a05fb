// Dragging an entry of a palette control (key functions, key values) onto another control of
// the same window. Once the pressed mouse has moved a few pixels away from where it went down
// on an entry, every further move posts kDragMoveMessage to the owning window and the release
// posts kDropMessage; lParam carries the point in the window's client coordinates (x in the low
// word, y in the high word, both signed 16-bit). The control keeps one of these and feeds it its
// mouse events (UI thread only).
#pragma once

#include "platform/mui/MControl.h"
#include "platform/mui/WindowTypes.h"

namespace MUI {

// The move has a number of its own: no window takes a drag over it for another message.
inline constexpr UINT kDragMoveMessage = 0x7EB;
inline constexpr UINT kDropMessage = 0x7EA;

// The client point as a message's lParam, and back.
LPARAM PackClientPoint(POINT point);
POINT UnpackClientPoint(LPARAM value);

class PaletteDrag {
public:
    // Distance in pixels the mouse must travel before a press becomes a drag.
    static constexpr int kThreshold = 5;

    // A left press; onEntry tells whether it hit an entry that can be dragged.
    void Press(const MouseEvent& event, bool onEntry);
    // True while the press has become a drag (the move was posted).
    bool Move(HWND owner, const MouseEvent& event);
    // True when the release ended a drag (the drop was posted); the press is forgotten.
    bool Release(HWND owner, const MouseEvent& event);
    // True when the last release ended a drag, until the next press: the release's click is
    // then not a pick.
    bool Dropped() const { return dropped_; }

private:
    bool armed_ = false;
    bool dragging_ = false;
    bool dropped_ = false;
    int startX_ = 0;
    int startY_ = 0;
};

}  // namespace MUI
