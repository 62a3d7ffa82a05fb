// MListBoxEx: a list box without a context menu whose rows share a given total height
// (SetAllItemHeight): each row is that height divided by the number of rows, kept between 20
// and 60 pixels. Before a total is given the rows keep the plain item height.
#pragma once

#include "platform/mui/MListBox.h"

namespace MUI {

class MListBoxEx : public MListBox {
public:
    MListBoxEx();
    void SetAllItemHeight(int height);
    int GetAllItemHeight() const;

protected:
    int RowHeight() const override;

private:
    int allItemHeight_ = 0;
};

}  // namespace MUI
