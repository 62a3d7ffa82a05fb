#include "platform/mui/Application.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cstdlib>
#include <string>

namespace MUI {

namespace {

double g_fitFactor = 1.0;

// Qt's own scale factor from the environment (a desktop or the user may set one), else 1.
double EnvironmentScaleFactor()
{
    const char* text = std::getenv("QT_SCALE_FACTOR");
    if (text == nullptr) return 1.0;
    char* end = nullptr;
    const double factor = std::strtod(text, &end);
    return end != text && factor > 0 ? factor : 1.0;
}

}  // namespace

double FitFactorFor(int areaWidth, int areaHeight, int designWidth, int designHeight)
{
    if (areaWidth <= 0 || areaHeight <= 0 || designWidth <= 0 || designHeight <= 0) return 1.0;
    return std::min({1.0, static_cast<double>(areaWidth) / designWidth,
                     static_cast<double>(areaHeight) / designHeight});
}

Application::Application(int& argc, char** argv, int designWidth, int designHeight)
    : application_(std::make_unique<QApplication>(argc, argv))
{
    g_fitFactor = 1.0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    // The work area in window coordinates, the desktop's own display scale already applied.
    const QRect area = screen->availableGeometry();
    const double factor = FitFactorFor(area.width(), area.height(), designWidth, designHeight);
    if (factor >= 1.0) return;
    // Qt scales every window by QT_SCALE_FACTOR on top of the screen's device pixel ratio, and
    // reads it only when the application starts: the application is made again with it.
    // The variable is put back afterwards, so that programs started from here (a browser, the
    // updater) are not drawn smaller.
    application_.reset();
    const char* before = std::getenv("QT_SCALE_FACTOR");
    const std::string kept = before != nullptr ? before : "";
    const std::string text = std::to_string(EnvironmentScaleFactor() * factor);
    setenv("QT_SCALE_FACTOR", text.c_str(), 1);
    application_ = std::make_unique<QApplication>(argc, argv);
    if (before != nullptr)
        setenv("QT_SCALE_FACTOR", kept.c_str(), 1);
    else
        unsetenv("QT_SCALE_FACTOR");
    g_fitFactor = factor;
}

Application::~Application() = default;

void Application::SetIdentity(const std::string& windowClass, const std::string& desktopEntry)
{
    QCoreApplication::setApplicationName(QString::fromStdString(windowClass));
    QGuiApplication::setDesktopFileName(QString::fromStdString(desktopEntry));
}

void* Application::Instance() { return QCoreApplication::instance(); }

double Application::FitFactor() { return g_fitFactor; }

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
