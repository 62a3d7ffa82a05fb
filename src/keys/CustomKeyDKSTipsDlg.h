// The advanced-key editor's explanation of DKS, MT or TGL: a small modal popup with a title,
// three paragraphs and a button that closes it. Other types get an empty window but for the
// button.
#pragma once

#include <functional>
#include <string>

#include "platform/mui/MDialog.h"

class CustomKeyDKSTipsDlg : public MUI::MDialog {
public:
    CustomKeyDKSTipsDlg(int type, std::function<std::wstring(int)> text);

    // The 500 x 400 popup "CustomKeyDKSTipsDlg" centred over the parent; ShowModal runs it.
    HWND CreatePopup(HWND parent);

    int OnInitDialog() override;
    void InitUI(const RECT& client) override;
    void UISize(const RECT& client) override;
    int OnMessage(unsigned id, int code, LPARAM value) override;

    // The title and the text shown for the type (empty for types 4-6).
    std::wstring Title() const;
    std::wstring Body() const;

private:
    int type_;
    std::function<std::wstring(int)> text_;
};
