#include "platform/os/ShellOpen.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>
#include <mutex>

namespace os {
namespace {

std::mutex& HandlerMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::function<bool(const std::wstring&)>& Handler()
{
    static std::function<bool(const std::wstring&)> handler;
    return handler;
}

}  // namespace

bool ShellOpen(const std::wstring& target)
{
    std::function<bool(const std::wstring&)> handler;
    {
        std::lock_guard<std::mutex> lock(HandlerMutex());
        handler = Handler();
    }
    if (handler) {
        return handler(target);
    }
    if (target.empty()) {
        return false;
    }
    const QString text = QString::fromStdWString(target);
    const QUrl url = text.contains(QStringLiteral("://")) ? QUrl(text) : QUrl::fromLocalFile(text);
    return url.isValid() && QDesktopServices::openUrl(url);
}

void SetShellOpenHandler(std::function<bool(const std::wstring&)> handler)
{
    std::lock_guard<std::mutex> lock(HandlerMutex());
    Handler() = std::move(handler);
}

}  // namespace os
