// MButton: a push button with a title. Its picture is either a face strip (normal, hover,
// pressed, disabled) stretched over the button, or, when a frame is about square, an icon drawn
// beside the title on a face the button draws itself. A background colour gives a filled face.
// The title keeps readable contrast on light faces. A click sends kNotifyClick.
#pragma once

#include "platform/mui/MControl.h"

namespace MUI {

class MButton : public MControl {
public:
    MButton();

protected:
    void Paint(QPainter& painter) override;
};

}  // namespace MUI
