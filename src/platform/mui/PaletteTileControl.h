// The base of the palette controls (key functions, key values): entries the user points at,
// clicks or drags onto a key. It keeps the hovered, pressed and current entry and runs the
// drag, so that the entry being dragged is the current one by the time its drop is handled.
#pragma once

#include "platform/mui/MControl.h"
#include "platform/mui/PaletteDrag.h"

namespace MUI {

class PaletteTileControl : public MControl {
public:
    // The entry under a point of the control, -1 for none.
    virtual int ItemFromPoint(int x, int y) const = 0;

protected:
    // The number of entries (lock held).
    virtual int EntryCount() const = 0;

    void OnMouseDown(const MouseEvent& event) override;
    void OnMouseMove(const MouseEvent& event) override;
    void OnMouseUp(const MouseEvent& event) override;
    void OnMouseLeave() override;

    int chosen_ = -1;   // the current entry, under the lock
    int hot_ = -1;      // the entry under the mouse, under the lock
    int pressed_ = -1;  // UI thread: the entry the left button went down on
    PaletteDrag drag_;  // UI thread
};

}  // namespace MUI
