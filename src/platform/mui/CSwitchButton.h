// CSwitchButton: an on/off switch drawn with one picture strip per state. A click flips it and
// sends kNotifyClick.
#pragma once

#include <string>
#include <string_view>

#include "platform/mui/CCheckButton.h"

namespace MUI {

class CSwitchButton : public CCheckButton {
public:
    void SetSwitchImages(std::wstring_view on, std::wstring_view off, int states = 1);

protected:
    void Paint(QPainter& painter) override;

private:
    std::wstring on_;
    std::wstring off_;
    int states_ = 1;
};

}  // namespace MUI
