// CRadioButton: a check box in a named group: checking one unchecks the others of its group in
// the same window. A click checks it (never unchecks).
#pragma once

#include <string>
#include <string_view>

#include "platform/mui/CCheckButton.h"

namespace MUI {

class CRadioButton : public CCheckButton {
public:
    void SetGroup(std::wstring_view group);
    std::wstring GetGroup() const;
    void SetCheck(bool checked) override;

protected:
    void Toggle() override;

private:
    std::wstring group_;
};

}  // namespace MUI
