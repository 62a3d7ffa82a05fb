#include "platform/mui/ScreenMetrics.h"

#include "platform/mui/Application.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace MUI {

bool GetPrimaryScreenPixels(int& width, int& height)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return false;
    }
    const double ratio = screen->devicePixelRatio();
    width = static_cast<int>(std::lround(screen->geometry().width() * ratio));
    height = static_cast<int>(std::lround(screen->geometry().height() * ratio));
    return true;
}

bool GetWorkArea(RECT& area)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return false;
    }
    const QRect g = screen->availableGeometry();
    area = RECT{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
    return true;
}

int GetEffectiveScreenDpi()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return 0;
    }
    QScreen* screen = QGuiApplication::screenAt(QPoint(1, 1));
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return 0;
    }
    // Qt reports the scale as a device pixel ratio over 96-DPI logical pixels; the factor that
    // fits the window to a small screen is the program's own, not the desktop's.
    return static_cast<int>(std::lround(screen->logicalDotsPerInchX() * screen->devicePixelRatio() /
                                        Application::FitFactor()));
}

}  // namespace MUI
