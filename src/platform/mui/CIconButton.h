// CIconButton: a button with an icon at its left and the title beside it, over its picture
// strip, its background colour or, with neither, the library's light button face.
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
