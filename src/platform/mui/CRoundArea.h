// CRoundArea: a filled rectangle in one colour with rounded corners.
#pragma once

#include "platform/mui/MControl.h"

namespace MUI {

class CRoundArea : public MControl {
public:
    // Corner modes: which corners are rounded.
    static constexpr int kRoundAll = 0;
    static constexpr int kRoundTop = 1;
    static constexpr int kRoundBottom = 2;

    void SetColor(ARGB color);
    ARGB GetColor() const;
    void SetRoundRadius(int radius);
    int GetRoundRadius() const;
    void SetRoundMode(int mode);
    int GetRoundMode() const;

protected:
    void Paint(QPainter& painter) override;

private:
    int radius_ = 6;
    int mode_ = kRoundAll;
};

}  // namespace MUI
