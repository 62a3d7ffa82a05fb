#include "platform/mui/Application.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

namespace MUI {

Application::Application(int& argc, char** argv)
    : application_(std::make_unique<QApplication>(argc, argv))
{
}

Application::~Application() = default;

void Application::SetIdentity(const std::string& windowClass, const std::string& desktopEntry)
{
    QCoreApplication::setApplicationName(QString::fromStdString(windowClass));
    QGuiApplication::setDesktopFileName(QString::fromStdString(desktopEntry));
}

void* Application::Instance() { return QCoreApplication::instance(); }

bool Application::SetWindowIcon(const std::vector<std::wstring>& pictures)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
    QIcon icon;
    for (const std::wstring& picture : pictures) {
        const QPixmap pixmap(QString::fromStdWString(picture));
        if (!pixmap.isNull()) icon.addPixmap(pixmap);
    }
    if (icon.isNull()) return false;
    QApplication::setWindowIcon(icon);
    return true;
}

}  // namespace MUI
