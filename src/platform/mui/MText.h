// MText: a text label (title, font, colour, alignment, multi-line), drawn over an optional
// background colour.
#pragma once

#include "platform/mui/MControl.h"

namespace MUI {

class MText : public MControl {
protected:
    void Paint(QPainter& painter) override;
};

}  // namespace MUI
