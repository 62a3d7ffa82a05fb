// Choosing one DKS travel point on a picture of the switch: a small modal popup above the
// clicked point. Its value is in 0.1 mm; the default button sets 3.6 mm; apply closes it with
// OK. Losing activation (a click outside) closes it with cancel at once.
#pragma once

#include <functional>
#include <string>

#include "platform/mui/MDialog.h"

class CustomKeyStrokeDlg : public MUI::MDialog {
public:
    CustomKeyStrokeDlg(int value, std::function<std::wstring(int)> text);

    // The popup "CustomKeyStrokeDlg" at rect (screen coordinates); ShowModal runs it.
    HWND CreatePopup(HWND parent, const RECT& rect);
    int Value() const { return value_; }

    int OnInitDialog() override;
    void InitUI(const RECT& client) override;
    void UISize(const RECT& client) override;
    int OnMessage(unsigned id, int code, LPARAM value) override;
    LRESULT OnNcActivate(bool active) override;

private:
    int value_;
    std::function<std::wstring(int)> text_;
};
