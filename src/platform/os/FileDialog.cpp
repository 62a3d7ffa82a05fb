#include "platform/os/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QStandardPaths>
#include <mutex>
#include <vector>

#include "platform/os/TestAnswers.h"

namespace os {
namespace {

using Handler = std::function<std::optional<std::wstring>(const FileDialogRequest&)>;

std::mutex& HandlerMutex()
{
    static std::mutex mutex;
    return mutex;
}

Handler& CurrentHandler()
{
    static Handler handler;
    return handler;
}

std::vector<std::wstring> SplitAtZero(const std::wstring& text)
{
    std::vector<std::wstring> parts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t zero = text.find(L'\0', pos);
        const std::size_t end = zero == std::wstring::npos ? text.size() : zero;
        parts.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return parts;
}

}  // namespace

std::wstring QtFileFilter(const std::wstring& filter)
{
    if (filter.find(L'\0') == std::wstring::npos) {
        return filter;
    }
    const std::vector<std::wstring> parts = SplitAtZero(filter);
    std::wstring out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) {
            break;
        }
        std::wstring patterns = parts[i + 1];
        for (wchar_t& c : patterns) {
            if (c == L';') {
                c = L' ';
            }
        }
        if (!out.empty()) {
            out += L";;";
        }
        // A description that shows its patterns already keeps them; Qt reads the last "(...)".
        out += parts[i].find(L'(') != std::wstring::npos && parts[i].back() == L')'
                   ? parts[i]
                   : parts[i] + L" (" + patterns + L")";
    }
    return out;
}

std::wstring DefaultFileFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents.toStdWString();
    return QDir::homePath().toStdWString();
}

std::wstring SuggestedFilePath(const std::wstring& name, const std::wstring& extension)
{
    std::wstring file = name;
    for (wchar_t& c : file) {
        if (c < 0x20 || c == L'/' || c == L'\\' || c == L':' || c == L'*' || c == L'?' ||
            c == L'"' || c == L'<' || c == L'>' || c == L'|') {
            c = L'_';
        }
    }
    // Nor a hidden file or a folder's name.
    if (file.empty() || file == L"." || file == L"..") file = L"file";
    if (file.front() == L'.') file.front() = L'_';
    return DefaultFileFolder() + L"/" + file + L"." + extension;
}

std::optional<std::wstring> ShowFileDialog(const FileDialogRequest& request)
{
    Handler handler;
    {
        std::lock_guard<std::mutex> lock(HandlerMutex());
        handler = CurrentHandler();
    }
    if (handler) {
        return handler(request);
    }
    if (std::optional<std::wstring> answer = TestFileAnswer()) {
        return answer;
    }
    const QString filter = QString::fromStdWString(QtFileFilter(request.filter));
    const std::wstring start =
        request.initialPath.empty() ? DefaultFileFolder() : request.initialPath;
    QFileDialog dialog(nullptr, QString::fromStdWString(request.title),
                       QString::fromStdWString(start), filter);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (request.save) {
        // "*.xml" of the first filter gives the extension added to a bare name.
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
        if (m.hasMatch()) {
            dialog.setDefaultSuffix(m.captured(1));
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdWString();
}

void SetFileDialogHandler(Handler handler)
{
    std::lock_guard<std::mutex> lock(HandlerMutex());
    CurrentHandler() = std::move(handler);
}

}  // namespace os
