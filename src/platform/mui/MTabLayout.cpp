#include "platform/mui/MTabLayout.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/Painting.h"

namespace MUI {

MUI_REGISTER_CONTROL(MTabLayout)

MControl* MTabLayout::CreateArea(std::wstring_view className, unsigned id, const RECT& rect,
                                 std::wstring_view text, int, int)
{
    MDialog* owner = GetOwner();
    return owner ? owner->CreateChild(this, className, id, rect, text, true) : nullptr;
}

MControl* MTabLayout::CreateControl(std::wstring_view className, unsigned id, const RECT& rect,
                                    std::wstring_view text, int, int)
{
    MDialog* owner = GetOwner();
    return owner ? owner->CreateChild(this, className, id, rect, text, false) : nullptr;
}

std::vector<MControl*> MTabLayout::GetChildren() const
{
    std::vector<MControl*> children;
    MDialog* owner = GetOwner();
    if (!owner) return children;
    for (MControl* control : owner->GetControls())
        if (control->GetParentControl() == this) children.push_back(control);
    return children;
}

void MTabLayout::Paint(QPainter& painter)
{
    const ARGB color = GetBkColor();
    if (color >> 24) {
        const RECT r = GetRect();
        painter.fillRect(QRect(0, 0, RectWidth(r), RectHeight(r)), ToQColor(color));
    }
}

}  // namespace MUI
