// MTabLayout: a container of controls (one page of the main window). Its children are created
// through it, live in the same window (found by MDialog::GetControl), are placed in window
// client coordinates and are hidden with it.
#pragma once

#include <string_view>
#include <vector>

#include "platform/mui/MControl.h"

namespace MUI {

class MTabLayout : public MControl {
public:
    virtual MControl* CreateArea(std::wstring_view className, unsigned id, const RECT& rect = {},
                                 std::wstring_view text = {}, int reserved1 = 1, int reserved2 = 1);
    virtual MControl* CreateControl(std::wstring_view className, unsigned id, const RECT& rect = {},
                                    std::wstring_view text = {}, int reserved1 = 1,
                                    int reserved2 = 1);
    std::vector<MControl*> GetChildren() const;

protected:
    void Paint(QPainter& painter) override;
};

}  // namespace MUI
