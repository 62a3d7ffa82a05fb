// MProgress: a progress bar over a range (0..100 unless set); no input.
#pragma once

#include "platform/mui/MControl.h"

namespace MUI {

class MProgress : public MControl {
public:
    void SetRange(int minimum, int maximum);
    void SetPos(int pos);  // kept inside the range
    int GetPos() const;
    void SetBarColor(ARGB color);
    ARGB GetBarColor() const;

protected:
    void Paint(QPainter& painter) override;

private:
    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    ARGB bar_ = 0xFF21A939;
};

}  // namespace MUI
