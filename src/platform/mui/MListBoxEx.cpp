#include "platform/mui/MListBoxEx.h"

#include <algorithm>

#include "platform/mui/ControlFactory.h"

namespace MUI {

MListBoxEx::MListBoxEx() { EnableContextMenu(false); }

void MListBoxEx::SetAllItemHeight(int height)
{
    auto lock = Lock();
    allItemHeight_ = std::max(height, 0);
    Invalidate();
}

int MListBoxEx::GetAllItemHeight() const
{
    auto lock = Lock();
    return allItemHeight_;
}

int MListBoxEx::RowHeight() const
{
    const int count = GetItemCount();
    if (allItemHeight_ <= 0 || count <= 0) return MListBox::RowHeight();
    return std::clamp(allItemHeight_ / count, 20, 60);
}

MUI_REGISTER_CONTROL(MListBoxEx)

}  // namespace MUI
