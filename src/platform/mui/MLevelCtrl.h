// MLevelCtrl: a row of level blocks over a small range (speed 0..4, amplitude 0..5). The blocks
// up to the level are filled. Input as MSlider: pressing or dragging picks the block under the
// mouse (kNotifyDragging), releasing reports the level with kNotifyClick.
#pragma once

#include "platform/mui/MSlider.h"

namespace MUI {

class MLevelCtrl : public MSlider {
public:
    MLevelCtrl();
    void SetLevel(int level) { SetPos(level); }
    int GetLevel() const { return GetPos(); }

protected:
    void Paint(QPainter& painter) override;
    int PosFromX(int x) const override;
};

}  // namespace MUI
