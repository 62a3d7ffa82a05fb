// MSlider: a horizontal slider over a range of int positions. Pressing on it moves the thumb
// there and dragging follows the mouse, each move sending kNotifyDragging (8) with the position;
// releasing sends kNotifyClick (2) with the final position. Positions set by the program notify
// nothing. The picture (SetImage) is the thumb; the part of the track left of it is drawn in the
// bar colour.
#pragma once

#include "platform/mui/MControl.h"
#include "platform/mui/Precision.h"

namespace MUI {

class MSlider : public MControl {
public:
    MSlider();

    // The bounds are swapped when given the wrong way round; the position is kept inside.
    void SetRange(int minimum, int maximum);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetPos(int pos);
    int GetPos() const;

    // A copy of the switch precision, kept for the program; it does not change the range.
    void SetPrecision(const PRECISION& precision);
    PRECISION GetPrecision() const;

    void SetBarColor(ARGB color);
    ARGB GetBarColor() const;
    void SetTrackColor(ARGB color);

    bool IsDragging() const;

protected:
    void Paint(QPainter& painter) override;
    void OnMouseDown(const MouseEvent& event) override;
    void OnMouseMove(const MouseEvent& event) override;
    void OnMouseUp(const MouseEvent& event) override;
    void OnClick(const MouseEvent& event) override;

    // Lock held: the position for a point x pixels from the control's left edge.
    virtual int PosFromX(int x) const;
    // Lock held: width of the thumb in pixels.
    int ThumbWidth() const;

    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    ARGB bar_ = 0xFF727272;
    ARGB track_ = 0xFFE0E0E0;

private:
    void MoveTo(int x, int code);

    PRECISION precision_;
    bool dragging_ = false;
};

}  // namespace MUI
