// The desktop's file open and save dialogs (QFileDialog).
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace os {

struct FileDialogRequest {
    bool save = false;
    std::wstring title;
    // Either Qt's form ("Profile (*.xml);;All (*)") or the Windows form of pairs
    // "description\0pattern\0..." (patterns separated by ';').
    std::wstring filter;
    std::wstring initialPath;  // folder or suggested file name; may be empty
};

// The folder a dialog opens in when its request names none: the user's documents folder, or
// the home folder when there is no documents folder.
std::wstring DefaultFileFolder();

// A suggested file in DefaultFileFolder: the name, with every character a file name cannot
// hold made '_', and the extension ("xml"); "file" for an empty name.
std::wstring SuggestedFilePath(const std::wstring& name, const std::wstring& extension);

// The chosen file's path; nothing when the user cancelled. Runs modally on the UI thread.
// A save dialog adds the filter's extension to a name typed without one.
std::optional<std::wstring> ShowFileDialog(const FileDialogRequest& request);

// Qt's filter text for a request's filter (either form above).
std::wstring QtFileFilter(const std::wstring& filter);

// Replaces the dialog (tests); an empty function restores the desktop's dialog.
void SetFileDialogHandler(
    std::function<std::optional<std::wstring>(const FileDialogRequest&)> handler);

}  // namespace os
