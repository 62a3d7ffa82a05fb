// The busy spinner: a small borderless window over the parent that blocks the UI thread until
// the worker (or anyone, from any thread) ends it with DoOK.
#pragma once

#include <string>

#include "platform/mui/MDialog.h"

inline constexpr unsigned kWaitDlgSpinnerId = 30;
inline constexpr int kWaitDlgSize = 102;

class WaitDlg : public MUI::MDialog {
public:
    WaitDlg();
    ~WaitDlg() override;

    // Creates the window (name "WaitDlg", 102 x 102, centred on the parent's window rectangle)
    // and runs it modally; returns when the loop ends. A DoOK made before this call ends the
    // loop as soon as it starts. UI thread.
    void ShowWaitDlg(HWND parent);

    int OnInitDialog() override;
    void InitUI(const RECT& client) override;
    void UISize(const RECT& client) override;
    int OnMessage(unsigned id, int code, LPARAM value) override;
    int OnDestroy() override;

private:
    std::wstring spareText_;
    int spareValue_ = 0;
};
