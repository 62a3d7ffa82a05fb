// The start-up measurement's "shown" milestone: reported once, when the watched widget is
// first shown.
#pragma once

#include <memory>

class QObject;
class QWidget;

// Watches the widget; keep the returned object as long as the widget may be shown.
std::unique_ptr<QObject> WatchFirstShown(QWidget* widget);
