// CColorButton: a preset colour swatch in a radio group (the lighting page's colour buttons):
// a click checks it, unchecks the others of its group and sends kNotifyClick. The colour is in
// COLORREF form (R | G << 8 | B << 16).
#pragma once

#include "platform/mui/CRadioButton.h"
#include "platform/mui/ColorRef.h"

namespace MUI {

class CColorButton : public CRadioButton {
public:
    void SetColor(COLORREF color);
    COLORREF GetColor() const;

protected:
    void Paint(QPainter& painter) override;

private:
    COLORREF color_ = 0;
};

}  // namespace MUI
