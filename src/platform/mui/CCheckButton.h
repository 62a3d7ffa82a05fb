// CCheckButton: a check box: an 8-state picture (four unchecked frames, then four checked) with
// the title at its right. A click toggles the check and sends kNotifyClick.
#pragma once

#include "platform/mui/MButton.h"

namespace MUI {

class CCheckButton : public MButton {
public:
    virtual void SetCheck(bool checked);
    bool GetCheck() const;

protected:
    void Paint(QPainter& painter) override;
    void OnClick(const MouseEvent& event) override;
    // The click's effect on the check state, before the notification.
    virtual void Toggle();

private:
    bool checked_ = false;
};

}  // namespace MUI
