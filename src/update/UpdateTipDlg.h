// The modal progress window of a firmware job: a label ("<text>: <percent>%") and a bar. The
// worker ends it with DoOK when the job is over; the main window's timer moves the bar.
#pragma once

#include <string>

#include "platform/mui/MDialog.h"

namespace MUI {
class MProgress;
class MText;
}  // namespace MUI

inline constexpr unsigned kUpdateTipLabelId = 30;
inline constexpr unsigned kUpdateTipBarId = 31;
inline constexpr int kUpdateTipWidth = 391;
inline constexpr int kUpdateTipHeight = 71;

class UpdateTipDlg : public MUI::MDialog {
public:
    // `title` is the label's first text (the language's "updating" text).
    explicit UpdateTipDlg(std::wstring title = {});
    ~UpdateTipDlg() override;

    // Creates the window "UpdateTipDlg" (391 x 71, no parent), centres it and runs it modally
    // until DoOK. A DoOK made before this call ends the loop as soon as it starts. UI thread.
    void ShowTip();

    int OnInitDialog() override;
    void InitUI(const RECT& client) override;
    void UISize(const RECT& client) override;
    int OnMessage(unsigned id, int code, LPARAM value) override;

    // Label "<text>: <percent>%", bar at percent (kept within 0..100). Any thread.
    void SetProgress(int percent, const std::wstring& text);

    MUI::MText* label = nullptr;
    MUI::MProgress* bar = nullptr;

private:
    std::wstring title_;
};
