// MButton1: the push button variant made by class name; a rounded coloured face.
#pragma once

#include "platform/mui/MButton.h"

namespace MUI {

class MButton1 : public MButton {
protected:
    void Paint(QPainter& painter) override;
};

}  // namespace MUI
