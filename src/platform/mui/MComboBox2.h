// MComboBox2: the frame's compact combo box: no field of its own, the text and the arrow drawn
// on the window's background (or over its picture). Otherwise an MComboBox.
#pragma once

#include "platform/mui/MComboBox.h"

namespace MUI {

class MComboBox2 : public MComboBox {
protected:
    bool DrawsField() const override { return false; }
};

}  // namespace MUI
