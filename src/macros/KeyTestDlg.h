// The key tester: a modal window with a picture of a full-size keyboard in which every key
// pressed on the PC keyboard is marked (held down, or pressed and let go). It takes the keys
// from the program's keyboard hook while it is open and swallows them while it is the
// foreground window; the reset button clears the marks, the close button ends it.
#pragma once

#include <memory>
#include <string>

#include "platform/mui/MDialog.h"

namespace MUI {
class KeyHookManager;
class KeyboardTestCtrl;
}  // namespace MUI

inline constexpr unsigned kKeyTestTitleId = 30;
inline constexpr unsigned kKeyTestHeaderId = 31;
inline constexpr unsigned kKeyTestKeysId = 32;
inline constexpr unsigned kKeyTestResetId = 33;
inline constexpr unsigned kKeyTestCloseId = 34;
inline constexpr int kKeyTestWidth = 1400;
inline constexpr int kKeyTestHeight = 650;

// The window's texts, in the current language: its title, the reset and the close button.
struct KeyTestTexts {
    std::wstring title;
    std::wstring reset;
    std::wstring close;
};

class KeyTestDlg : public MUI::MDialog {
public:
    // `hookMessage`: the message the keyboard hook sends the window each key event with.
    KeyTestDlg(KeyTestTexts texts, UINT hookMessage);
    ~KeyTestDlg() override;

    // Creates the window "KeyTestDlg" owned by `owner` (1400 x 650, centred) and runs it
    // modally until the close button. UI thread.
    void ShowTestDlg(HWND owner);

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void InitUI(const RECT& client) override;
    void UISize(const RECT& client) override;
    // Clicks: 33 clears the marks, 34 closes; other controls answer 1, other codes 0.
    int OnMessage(unsigned id, int code, LPARAM value) override;

    // A key event of the hook (wParam the key message, lParam the MUI::KBDLLHOOKSTRUCT): marks
    // the key and answers 1 (swallowed) while this window is in front; else answers 0.
    LRESULT OnHookKeyEvent(WPARAM wParam, LPARAM lParam);
    void BuildTestKeys();
    void OnCloseButton();

    MUI::KeyboardTestCtrl* keys = nullptr;
    // Set from OnInitDialog until the close button.
    std::unique_ptr<MUI::KeyHookManager> hook;

private:
    KeyTestTexts texts_;
    UINT hookMessage_;
};
