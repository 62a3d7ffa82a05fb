#include "app/CUIMessageBox.h"

#include <memory>
#include <optional>
#include <utility>

#include "app/Language.h"
#include "platform/mui/MControl.h"
#include "platform/mui/WindowMessages.h"
#include "platform/os/TestAnswers.h"

namespace {

constexpr MUI::ARGB kWhite = 0xFFFFFFFF;
constexpr int kWidth = 500;
constexpr int kHeight = 266;
constexpr unsigned kPopupStyle = 0x96000000;  // popup, visible, clipping siblings and children
constexpr unsigned kToolWindow = 0x80;        // no taskbar button
constexpr WPARAM kEscapeKey = 0x1B;

void StyleText(MUI::MControl* control, std::wstring_view title, bool message)
{
    if (control == nullptr) {
        return;
    }
    control->SetTitle(title);
    control->SetTextSize(16);
    control->SetAlignment(MUI::kAlignCenter);
    control->SetTextColor(kWhite);
    if (message) {
        control->SetVAlignment(MUI::kVAlignCenter);
        control->SetMultiLine(true);
    }
}

void StyleButton(MUI::MControl* button, int textId)
{
    if (button == nullptr) {
        return;
    }
    button->SetTitle(GetLanString(textId));
    button->SetImage(L"button.png");
    button->SetTextSize(14);
    button->SetTextColor(kWhite);
}

}  // namespace

CUIMessageBox::CUIMessageBox() = default;

CUIMessageBox::CUIMessageBox(std::wstring caption, std::wstring message, int style)
    : caption_(std::move(caption)), message_(std::move(message)), style_(style)
{
}

CUIMessageBox::~CUIMessageBox() { DestroyWindow(); }

int CUIMessageBox::OnInitDialog()
{
    MDialog::OnInitDialog();
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetBackColor(0xEBEBEB, 0x969696);
    return 0;
}

void CUIMessageBox::InitUI(const RECT& client)
{
    SetLayered(true);
    const int w = client.right;
    const int h = client.bottom;
    const int middle = (client.right - client.left) / 2;
    const int centre = (client.bottom - client.top) / 2;
    StyleText(CreateControl(L"MText", kMessageBoxCaptionId, RECT{20, 15, w - 20, 40}), caption_,
              false);
    StyleText(
        CreateControl(L"MText", kMessageBoxTextId, RECT{20, centre - 30, w - 20, centre + 30}),
        message_, true);
    if (style_ == kMessageBoxOneButton) {
        StyleButton(
            CreateControl(L"MButton", kMessageBoxFirstButtonId, RECT{100, h - 50, w - 100, h - 14}),
            20);
    } else if (style_ == kMessageBoxTwoButtons) {
        StyleButton(CreateControl(L"MButton", kMessageBoxFirstButtonId,
                                  RECT{middle - 120, h - 50, middle - 20, h - 14}),
                    23);
        StyleButton(CreateControl(L"MButton", kMessageBoxSecondButtonId,
                                  RECT{middle + 20, h - 50, middle + 120, h - 14}),
                    25);
    }
}

void CUIMessageBox::UISize(const RECT&) {}

int CUIMessageBox::OnMessage(unsigned id, int code, LPARAM)
{
    if (code != MUI::kNotifyClick) {
        return 0;
    }
    if (id == kMessageBoxFirstButtonId) {
        DoOK();
        return 1;
    }
    if (id == kMessageBoxSecondButtonId) {
        DoCancel();
        return 1;
    }
    return 0;
}

int CUIMessageBox::OnKeyDown(WPARAM key, LPARAM)
{
    if (key != kEscapeKey) {
        return 0;
    }
    DoCancel();
    return 1;
}

int CUIMessageBox::OnDestroy() { return 0; }

int ShowMessageBox(HWND parent, const wchar_t* message, const wchar_t* caption, int style)
{
    if (const std::optional<int> answer =
            os::TestMessageAnswer(message ? message : L"", caption ? caption : L"")) {
        return *answer == kMessageBoxYes ? kMessageBoxYes : kMessageBoxNo;
    }
    auto box =
        std::make_unique<CUIMessageBox>(caption ? caption : L"", message ? message : L"", style);
    box->LoadBKImage(L"bk_prompt.png");
    box->SetBackMode(1, 30);
    if (box->Create(parent, L"MessageBox", kPopupStyle, kToolWindow, RECT{0, 0, kWidth, kHeight}) ==
        nullptr) {
        return kMessageBoxNo;
    }
    box->CenterWindow();
    // Only the first button says yes: a box closed any other way (the window manager's close
    // gives 0) is a No.
    return box->ShowModal(SW_SHOWNORMAL) == kMessageBoxYes ? kMessageBoxYes : kMessageBoxNo;
}
