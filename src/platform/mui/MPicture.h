// MPicture: a picture from the skin stretched over the control's rectangle.
#pragma once

#include "platform/mui/MControl.h"

namespace MUI {

class MPicture : public MControl {
public:
    // Size of the loaded picture (one frame), 0 when it is missing.
    int GetImageWidth() const;
    int GetImageHeight() const;

protected:
    void Paint(QPainter& painter) override;
};

}  // namespace MUI
