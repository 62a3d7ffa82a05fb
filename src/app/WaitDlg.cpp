#include "app/WaitDlg.h"

#include "platform/mui/CGifPicture.h"
#include "platform/mui/WindowServices.h"

namespace {

constexpr unsigned kPopupStyle = 0x96000000;  // popup, visible, clipping siblings and children
constexpr unsigned kToolWindow = 0x80;        // no taskbar button

}  // namespace

WaitDlg::WaitDlg() = default;

WaitDlg::~WaitDlg() { DestroyWindow(); }

void WaitDlg::ShowWaitDlg(HWND parent)
{
    RECT owner{};
    const bool hasOwner = MUI::GetWindowRect(parent, &owner);
    const int left = owner.left + (RectWidth(owner) - kWaitDlgSize) / 2;
    const int top = owner.top + (RectHeight(owner) - kWaitDlgSize) / 2;
    if (Create(parent, L"WaitDlg", kPopupStyle, kToolWindow,
               RECT{left, top, left + kWaitDlgSize, top + kWaitDlgSize}) == nullptr) {
        return;
    }
    if (!hasOwner) {
        CenterWindow();  // no parent window to sit on: the middle of the screen
    }
    ShowModal(SW_SHOW);
}

int WaitDlg::OnInitDialog()
{
    MDialog::OnInitDialog();
    SetBackColor(0x333333, 0x333333);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetMTimer(10);
    EnableWindowDrag(true);
    return 0;
}

void WaitDlg::InitUI(const RECT&)
{
    SetLayered(true);
    LoadBKImage(L"loading.png");
    auto* spinner = dynamic_cast<MUI::CGifPicture*>(
        CreateControl(L"CGifPicture", kWaitDlgSpinnerId, RECT{1, 1, 101, 101}));
    if (spinner != nullptr) {
        spinner->SetImage(L"loading.gif");
        spinner->SetRunning(true);
        spinner->AddAnimationTimer();
    }
}

void WaitDlg::UISize(const RECT&) {}

int WaitDlg::OnMessage(unsigned, int, LPARAM) { return 0; }

int WaitDlg::OnDestroy() { return 0; }
