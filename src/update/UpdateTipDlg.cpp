#include "update/UpdateTipDlg.h"

#include <algorithm>

#include "platform/mui/MProgress.h"
#include "platform/mui/MText.h"

namespace {

constexpr unsigned kTipStyle = 0x96000000;  // popup, visible, clipping siblings and children
constexpr unsigned kToolWindow = 0x80;      // no taskbar button
constexpr int kMargin = 20;

}  // namespace

UpdateTipDlg::UpdateTipDlg(std::wstring title) : title_(std::move(title)) {}

UpdateTipDlg::~UpdateTipDlg() { DestroyWindow(); }

void UpdateTipDlg::ShowTip()
{
    if (Create(nullptr, L"UpdateTipDlg", kTipStyle, kToolWindow,
               RECT{0, 0, kUpdateTipWidth, kUpdateTipHeight}) == nullptr) {
        return;
    }
    CenterWindow();
    ShowModal(SW_SHOW);
}

int UpdateTipDlg::OnInitDialog()
{
    MDialog::OnInitDialog();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return 0;
}

void UpdateTipDlg::InitUI(const RECT& client)
{
    SetLayered(true);
    LoadBKImage(L"img_upgrade_bkg.png");
    const int width = RectWidth(client);
    label = dynamic_cast<MUI::MText*>(
        CreateControl(L"MText", kUpdateTipLabelId, RECT{kMargin, 10, width - kMargin, 30}, title_));
    bar = dynamic_cast<MUI::MProgress*>(
        CreateControl(L"MProgress", kUpdateTipBarId, RECT{kMargin, 30, width - kMargin, 56}));
}

void UpdateTipDlg::UISize(const RECT&) {}

int UpdateTipDlg::OnMessage(unsigned, int code, LPARAM) { return code == MUI::kNotifyClick; }

void UpdateTipDlg::SetProgress(int percent, const std::wstring& text)
{
    const int shown = std::clamp(percent, 0, 100);
    if (label != nullptr) {
        label->SetTitle(text + L": " + std::to_wstring(shown) + L"%");
    }
    if (bar != nullptr) {
        bar->SetPos(shown);
    }
}
