// The desktop's own message box (QMessageBox), for the few notices that do not use the
// program's skinned box.
#pragma once

#include <functional>
#include <string>

namespace os {

// Button sets and results, with their Windows values.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Shows the box modally (no owner) and returns the button's id; closing the box counts as
// Cancel (No for a Yes/No box; OK for an OK box). Runs on the UI thread.
int SystemMessageBox(const std::wstring& text, const std::wstring& caption, unsigned type);

// Replaces the box (tests); an empty function restores the desktop's box.
void SetSystemMessageBoxHandler(
    std::function<int(const std::wstring& text, const std::wstring& caption, unsigned type)>
        handler);

}  // namespace os
