#include "macros/KeyTestDlg.h"

#include "macros/HookKeyEvent.h"
#include "macros/TestKeys.h"
#include "platform/mui/CRoundArea.h"
#include "platform/mui/KeyHookManager.h"
#include "platform/mui/KeyboardTestCtrl.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MText.h"
#include "platform/mui/WindowServices.h"

namespace {

constexpr unsigned kTestStyle = 0x96000000;  // popup, visible, clipping siblings and children
constexpr MUI::ARGB kHeaderColor = 0xFF3F4440;
constexpr MUI::ARGB kTitleColor = 0xFFFBFBFB;
constexpr MUI::ARGB kButtonInk = 0xFFFFFFFF;

}  // namespace

KeyTestDlg::KeyTestDlg(KeyTestTexts texts, UINT hookMessage)
    : texts_(std::move(texts)), hookMessage_(hookMessage)
{
}

KeyTestDlg::~KeyTestDlg()
{
    hook.reset();
    DestroyWindow();
}

void KeyTestDlg::ShowTestDlg(HWND owner)
{
    if (Create(owner, L"KeyTestDlg", kTestStyle, 0, RECT{0, 0, kKeyTestWidth, kKeyTestHeight}) ==
        nullptr) {
        return;
    }
    CenterWindow();
    ShowModal(SW_SHOW);
}

LRESULT KeyTestDlg::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == hookMessage_) {
        return OnHookKeyEvent(wParam, lParam);
    }
    // Raw input is never registered for the tester: WM_INPUT goes on as any other message.
    return MDialog::OnWindowMessage(message, wParam, lParam);
}

int KeyTestDlg::OnInitDialog()
{
    MDialog::OnInitDialog();
    EnableWindowDrag(false);
    SetBackColor(0xFFF7F7F7, 0xFF646464);
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    MUI::SetForegroundWindow(GetHWND());
    BuildTestKeys();
    hook = std::make_unique<MUI::KeyHookManager>();
    hook->AddTarget(GetHWND(), hookMessage_);
    return 1;
}

void KeyTestDlg::InitUI(const RECT& client)
{
    const int w = client.right;
    const int h = client.bottom;
    const int c = RectWidth(client) / 2;
    auto* header = dynamic_cast<MUI::CRoundArea*>(
        CreateArea(L"CRoundArea", kKeyTestHeaderId, RECT{1, 1, w - 1, 50}));
    header->SetColor(kHeaderColor);
    header->SetRoundRadius(0);
    auto* title = dynamic_cast<MUI::MText*>(
        CreateArea(L"MText", kKeyTestTitleId, RECT{20, 10, w - 20, 40}, texts_.title));
    title->SetAlignment(MUI::kAlignCenter);
    title->SetTextColor(kTitleColor);
    title->SetTextSize(20);
    keys = dynamic_cast<MUI::KeyboardTestCtrl*>(
        CreateControl(L"KeyboardTestCtrl", kKeyTestKeysId, RECT{50, 70, w - 50, 540}));
    const struct {
        unsigned id;
        RECT rect;
        const std::wstring& text;
    } buttons[] = {{kKeyTestResetId, RECT{c - 150, h - 50, c - 20, h - 20}, texts_.reset},
                   {kKeyTestCloseId, RECT{c + 20, h - 50, c + 150, h - 20}, texts_.close}};
    for (const auto& button : buttons) {
        MUI::MControl* control = CreateControl(L"MButton", button.id, button.rect, button.text);
        control->SetImage(L"img_button.png", 4);
        control->SetTextColor(kButtonInk);
        control->SetTextSize(16);
    }
}

void KeyTestDlg::UISize(const RECT&) {}

int KeyTestDlg::OnMessage(unsigned id, int code, LPARAM)
{
    if (code != MUI::kNotifyClick) {
        return 0;
    }
    if (id == kKeyTestResetId && keys != nullptr) {
        keys->ResetKeyState();
    } else if (id == kKeyTestCloseId) {
        OnCloseButton();
    }
    return 1;
}

LRESULT KeyTestDlg::OnHookKeyEvent(WPARAM wParam, LPARAM lParam)
{
    bool down = false;
    switch (wParam) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            down = true;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            break;
        default:
            return 1;
    }
    const auto& key = *reinterpret_cast<const MUI::KBDLLHOOKSTRUCT*>(lParam);
    // The numeric pad by its scan codes, whatever the Num Lock state.
    const int code = HookKeyCode(key);
    if (code == 0) {
        return 0;
    }
    if (MUI::GetForegroundWindow() != GetHWND()) {
        return 0;  // the key goes on to the window in front
    }
    const int testKey = TestKeyCode(code, key.scanCode, (key.flags & MUI::LLKHF_EXTENDED) != 0);
    if (keys != nullptr && testKey != 0) {
        keys->SetKeyState(
            testKey, down ? MUI::KeyboardTestCtrl::kKeyDown : MUI::KeyboardTestCtrl::kKeyReleased);
    }
    return 1;
}

void KeyTestDlg::BuildTestKeys()
{
    if (keys == nullptr) {
        return;
    }
    keys->ClearItem();
    keys->SetWidthAndHeight(kTestPictureWidth, kTestPictureHeight);
    for (const TestKeyRow& row : TestKeyRows()) {
        keys->AddKeyItem(row.label, row.code, row.rect, row.icon);
    }
}

void KeyTestDlg::OnCloseButton()
{
    if (hook) {
        hook->Unhook();
        hook.reset();
    }
    DoOK();
}
