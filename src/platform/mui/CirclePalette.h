// CirclePalette: a colour wheel. Hue runs round the circle (red to the right, then green and
// blue counter-clockwise), saturation from white at the centre to full at the rim. Pressing and
// dragging picks the colour under the mouse, sending kNotifyDragging (8); releasing sends
// kNotifyClick (2). With a picture (SetImage) the wheel is that picture and the colour is taken
// from its pixel under the mouse; without one the wheel is drawn. Colours are COLORREF.
#pragma once

#include "platform/mui/ColorRef.h"
#include "platform/mui/MControl.h"

namespace MUI {

class CirclePalette : public MControl {
public:
    // Sets the current colour and places the marker where the wheel shows it.
    void SetColor(COLORREF color);
    COLORREF GetColor() const;

    // The colour the drawn wheel shows at a point of the control (relative to its rectangle),
    // or false outside the wheel.
    bool ColorAt(int x, int y, COLORREF* color) const;

protected:
    void Paint(QPainter& painter) override;
    void OnMouseDown(const MouseEvent& event) override;
    void OnMouseMove(const MouseEvent& event) override;
    void OnMouseUp(const MouseEvent& event) override;
    void OnClick(const MouseEvent& event) override;

private:
    struct Wheel {
        double cx, cy, radius;
    };
    Wheel GetWheel() const;   // lock held
    bool Pick(int x, int y);  // lock taken; true when the point is on the wheel

    COLORREF color_ = 0x0000FF;
    double markerX_ = 1;  // marker relative to the wheel's centre, in radii
    double markerY_ = 0;
    bool dragging_ = false;
};

}  // namespace MUI
