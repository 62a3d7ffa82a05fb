// The program's own message box: a caption, a message and one (style 0) or two (style 4)
// buttons, on the skin's prompt background. Shown through ShowMessageBox.
#pragma once

#include <string>

#include "platform/mui/MDialog.h"

// Styles and the ids of the box's controls.
inline constexpr int kMessageBoxOneButton = 0;
inline constexpr int kMessageBoxTwoButtons = 4;
inline constexpr unsigned kMessageBoxCaptionId = 31;
inline constexpr unsigned kMessageBoxTextId = 32;
inline constexpr unsigned kMessageBoxFirstButtonId = 33;
inline constexpr unsigned kMessageBoxSecondButtonId = 34;

class CUIMessageBox : public MUI::MDialog {
public:
    CUIMessageBox();
    CUIMessageBox(std::wstring caption, std::wstring message, int style);
    ~CUIMessageBox() override;

    int OnInitDialog() override;
    void InitUI(const RECT& client) override;
    void UISize(const RECT& client) override;
    // A click on button 33 ends the box with 1, on button 34 with 2; both answer 1.
    int OnMessage(unsigned id, int code, LPARAM value) override;
    // Escape ends the box as its second button (or the only one) does.
    int OnKeyDown(WPARAM key, LPARAM flags) override;
    int OnDestroy() override;

    const std::wstring& Caption() const { return caption_; }
    const std::wstring& Message() const { return message_; }
    int Style() const { return style_; }

private:
    std::wstring caption_;
    std::wstring message_;
    int style_ = kMessageBoxOneButton;
};

// The answers of ShowMessageBox.
inline constexpr int kMessageBoxYes = 1;
inline constexpr int kMessageBoxNo = 2;

// Shows the box modally over the parent (window name "MessageBox", 500 x 266, centred) and
// returns 1 (Yes, OK) for the first button and 2 (No, Cancel) for every other end: the second
// button, Escape, the window manager's close or a WM_CLOSE. UI thread.
int ShowMessageBox(HWND parent, const wchar_t* message, const wchar_t* caption, int style);
