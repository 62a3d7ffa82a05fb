// KeyStrokeCtrl: the travel gauge of the performance page. It shows a switch's full travel
// (in 0.01 mm) from top to bottom, the actuation point (a position in steps of the precision),
// the top and bottom dead zones, and the live travel of a pressed key.
//
// Input: pressing on the gauge moves the actuation point there and dragging follows the
// mouse, each move sending kNotifyDragging (8) with the actuation; the release sends
// kNotifyClick (2). Values set by the program notify nothing.
#pragma once

#include "platform/mui/MControl.h"
#include "platform/mui/Precision.h"

namespace MUI {

class KeyStrokeCtrl : public MControl {
public:
    KeyStrokeCtrl();

    void SetPrecision(const PRECISION& precision);
    PRECISION GetPrecision() const;
    // The actuation point, kept within 1 and the travel's last position.
    void SetCurKeyActuation(int actuation);
    int GetCurKeyActuation() const;
    // The live travel of a pressed key (0..40, 40 = bottom).
    void SetKeyActuation(int travel);
    int GetKeyTravel() const;
    // The switch shown and its full travel in 0.01 mm.
    void SetSwitchType(int switchType, int travel);
    int GetSwitchType() const;
    int GetTravel() const;
    void SetDeadzoneValue(int top, int bottom);
    void GetDeadzoneValue(int& top, int& bottom) const;
    void ShowDeadZone(bool shown);
    bool IsDeadZoneShown() const;
    void ShowRelkeystroke(bool shown);
    bool IsRelkeystrokeShown() const;
    void SetBottomrapidtriggerMode(int mode);
    int GetBottomrapidtriggerMode() const;

protected:
    void Paint(QPainter& painter) override;
    void OnMouseDown(const MouseEvent& event) override;
    void OnMouseMove(const MouseEvent& event) override;
    void OnMouseUp(const MouseEvent& event) override;
    void OnClick(const MouseEvent& event) override;

private:
    // Lock held.
    int LastPosition() const;
    int PositionFromY(int y) const;
    void MoveTo(int y, int code);

    PRECISION precision_;
    int actuation_ = 1;
    int travel_ = 400;
    int switchType_ = 0;
    int liveTravel_ = 0;
    int deadTop_ = 0;
    int deadBottom_ = 0;
    bool deadZoneShown_ = false;
    bool relShown_ = true;
    int bottomMode_ = 0;
    bool dragging_ = false;
};

}  // namespace MUI
