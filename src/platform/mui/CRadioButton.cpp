#include "platform/mui/CRadioButton.h"

#include "platform/mui/ControlFactory.h"
#include "platform/mui/MDialog.h"

namespace MUI {

MUI_REGISTER_CONTROL(CRadioButton)

void CRadioButton::SetGroup(std::wstring_view group)
{
    auto lock = Lock();
    group_ = group;
}

std::wstring CRadioButton::GetGroup() const
{
    auto lock = Lock();
    return group_;
}

void CRadioButton::SetCheck(bool checked)
{
    // The window lock covers the whole group, so two threads cannot check two buttons at once.
    auto lock = Lock();
    CCheckButton::SetCheck(checked);
    MDialog* owner = GetOwner();
    if (!checked || group_.empty() || !owner) return;
    for (MControl* control : owner->GetControls()) {
        auto* other = dynamic_cast<CRadioButton*>(control);
        if (other && other != this && other->GetGroup() == group_ && other->GetCheck())
            other->CCheckButton::SetCheck(false);
    }
}

void CRadioButton::Toggle() { SetCheck(true); }

}  // namespace MUI
