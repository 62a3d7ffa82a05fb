// CTextButton: a text (link-like) button with a text colour per state and an optional picture.
#pragma once

#include "platform/mui/MButton.h"

namespace MUI {

class CTextButton : public MButton {
public:
    void SetTextColors(ARGB normal, ARGB hover, ARGB pressed, ARGB disabled);

protected:
    void Paint(QPainter& painter) override;

private:
    bool stateColors_ = false;
    ARGB colors_[4] = {};
};

}  // namespace MUI
