// Test tooling: answers for the dialogs that would wait for a user. With
// TOLVENIC_TEST_FILE_ANSWER set, every open or save file dialog returns that path without
// showing; with TOLVENIC_TEST_MESSAGE_ANSWER set, every message box returns that button number
// without showing, after printing its text and caption on standard error. A test process thus
// goes through imports, exports and confirmations as a user would.
#pragma once

#include <optional>
#include <string>

namespace os {

// The path the file dialog returns; nothing when the variable is unset or empty.
std::optional<std::wstring> TestFileAnswer();

// The button the message box returns (the box's text and caption printed on standard error
// first); nothing when the variable is unset or not a number.
std::optional<int> TestMessageAnswer(const std::wstring& text, const std::wstring& caption);

}  // namespace os
