// MComboBox3: a menu-like combo box (the preset choosers): an icon picture at its left and the
// title beside it; every choice from its list is reported, also of the item already selected,
// so that the same preset can be applied again.
#pragma once

#include "platform/mui/MComboBox.h"

namespace MUI {

class MComboBox3 : public MComboBox {
protected:
    bool NotifiesEveryPick() const override { return true; }
    void Paint(QPainter& painter) override;
};

}  // namespace MUI
