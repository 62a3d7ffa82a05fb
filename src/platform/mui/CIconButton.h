// CIconButton: a button with an icon at its left and the title beside it, over an optional
// picture strip.
#pragma once

#include <string>
#include <string_view>

#include "platform/mui/MButton.h"

namespace MUI {

class CIconButton : public MButton {
public:
    void SetIcon(std::wstring_view name);
    std::wstring GetIcon() const;

protected:
    void Paint(QPainter& painter) override;

private:
    std::wstring icon_;
};

}  // namespace MUI
