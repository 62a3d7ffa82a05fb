#include "app/DatabaseNotice.h"

#include <cstdio>
#include <mutex>
#include <set>

#include "app/CUIMessageBox.h"
#include "app/Language.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/UiThread.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"
#include "storage/WriteFailures.h"

namespace {

constexpr int kCaptionText = 1;
constexpr int kSetAsideText = 2400;
constexpr int kUnusableText = 2401;

// The text with its "%s" replaced by value (other '%' signs stay as they are).
std::wstring Fill(std::wstring text, const std::string& value)
{
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, text::Utf8ToWide(value));
    return text;
}

}  // namespace

std::wstring DatabaseNoticeText(bool opened, const std::string& setAsidePath,
                                const std::string& dbPath)
{
    if (!setAsidePath.empty()) return Fill(GetLanString(kSetAsideText), setAsidePath);
    if (!opened) return Fill(GetLanString(kUnusableText), dbPath);
    return {};
}

void TellDatabaseWriteFailures(HWND window)
{
    if (window == nullptr) {
        storage::SetWriteFailureHandler({});
        return;
    }
    // Called with the database's lock held, perhaps on the worker: the path is read and the
    // box shown on the UI thread.
    storage::SetWriteFailureHandler([window](int) {
        // A file that can only be read was told of when it was opened.
        if (KBDataBase::GetInstance().IsReadOnly()) return;
        MUI::PostToUiThread([window] {
            if (MUI::MWindow::FromHandle(window) == nullptr) return;
            const std::wstring text =
                Fill(GetLanString(kUnusableText), KBDataBase::GetInstance().GetDbPath());
            std::fprintf(stderr, "%s\n", text::WideToUtf8(text).c_str());
            ShowMessageBox(window, text.c_str(), GetLanString(kCaptionText).c_str(),
                           kMessageBoxOneButton);
        });
    });
}

void TellDatabaseProblem(HWND window, bool opened)
{
    KBDataBase& database = KBDataBase::GetInstance();
    const std::string path = database.GetDbPath();
    // A file that can only be read is told as one that cannot be written.
    const std::wstring text =
        DatabaseNoticeText(opened && !database.IsReadOnly(), database.GetSetAsidePath(), path);
    if (text.empty()) return;
    static std::mutex mutex;
    static std::set<std::string> told;
    {
        std::lock_guard lock(mutex);
        if (!told.insert(path).second) return;
    }
    std::fprintf(stderr, "%s\n", text::WideToUtf8(text).c_str());
    MUI::PostToUiThread([window, text] {
        // The window may be gone by the time the UI thread gets here.
        if (MUI::MWindow::FromHandle(window) == nullptr) return;
        ShowMessageBox(window, text.c_str(), GetLanString(kCaptionText).c_str(),
                       kMessageBoxOneButton);
    });
}
