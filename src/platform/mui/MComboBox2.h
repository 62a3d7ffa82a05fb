// MComboBox2: the frame's compact combo box. Its field (the picture, or text and arrow on the
// window's background without one) fills the upper part of its rectangle, at most kFieldHeight
// pixels, and stays kFieldInset pixels inside its sides: the title band's boxes overlap their
// neighbours and reach into the tab strip below. Otherwise an MComboBox.
#pragma once

#include <QRect>

#include "platform/mui/MComboBox.h"

namespace MUI {

class MComboBox2 : public MComboBox {
public:
    static constexpr int kFieldHeight = 28;
    static constexpr int kFieldInset = 5;

protected:
    bool DrawsField() const override { return false; }
    void Paint(QPainter& painter) override;

private:
    QRect Field() const;  // lock held
};

}  // namespace MUI
