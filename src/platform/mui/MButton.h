// MButton: a push button: picture strip (normal, hover, pressed, disabled), background colour,
// centred title. A click sends kNotifyClick.
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
