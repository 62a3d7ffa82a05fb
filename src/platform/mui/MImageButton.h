// MImageButton: a picture button with a background and text colour for hover and for pressed.
#pragma once

#include "platform/mui/MButton.h"

namespace MUI {

class MImageButton : public MButton {
public:
    void SetHoverColor(ARGB background, ARGB text);
    void SetPressedColor(ARGB background, ARGB text);
    ARGB GetHoverBkColor() const;
    ARGB GetPressedBkColor() const;

protected:
    void Paint(QPainter& painter) override;

private:
    ARGB hoverBk_ = 0;
    ARGB hoverText_ = 0;
    ARGB pressedBk_ = 0;
    ARGB pressedText_ = 0;
};

}  // namespace MUI
