#include "app/FirstShownReport.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

#include "app/StartupReport.h"

namespace {

class ShowWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !reported_) {
            reported_ = true;
            ReportStartupMilestone("shown");
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool reported_ = false;
};

}  // namespace

std::unique_ptr<QObject> WatchFirstShown(QWidget* widget)
{
    if (widget == nullptr) {
        return nullptr;
    }
    auto watcher = std::make_unique<ShowWatcher>();
    widget->installEventFilter(watcher.get());
    return watcher;
}
