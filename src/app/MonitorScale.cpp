#include "app/MonitorScale.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

int ScaleFromEffectiveDpi(int dpi)
{
    switch (dpi) {
        case 120:
            return 125;
        case 144:
        case 168:
        case 192:
            return dpi;
        default:
            return 100;
    }
}

int GetMonitorScale()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return 100;
    }
    QScreen* screen = QGuiApplication::screenAt(QPoint(1, 1));
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return 100;
    }
    // Qt reports the scale as a device pixel ratio over 96-DPI logical pixels.
    const double dpi = screen->logicalDotsPerInchX() * screen->devicePixelRatio();
    return ScaleFromEffectiveDpi(static_cast<int>(std::lround(dpi)));
}

bool IsDpiAwareScreen(int width, int height, int scale)
{
    return (width < 1920 && height < 1080) || (width == 1920 && height == 1080 && scale > 125);
}

void SetProcessDpiAware() {}
