#include "platform/mui/UiThread.h"

#include <QApplication>
#include <QMetaObject>
#include <QThread>

#include "platform/mui/FontFamilies.h"

namespace MUI {

void EnsureApplication()
{
    if (!QCoreApplication::instance()) {
        // Qt keeps references to argc and argv for the application's life.
        static int argc = 1;
        static char name[] = "Tolvenic";
        static char* argv[] = {name, nullptr};
        static QApplication* application = new QApplication(argc, argv);
        (void)application;
    }
    // Popups, edits and tooltips take the application font: the one the controls draw with.
    static const bool fontSet = [] {
        QApplication::setFont(DesignFont(14));
        return true;
    }();
    (void)fontSet;
}

bool IsUiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void PostToUiThread(std::function<void()> task)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !task) return;
    QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
}

void RunOnUiThread(const std::function<void()>& task)
{
    if (!task) return;
    if (IsUiThread()) {
        task();
        return;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(app, task, Qt::BlockingQueuedConnection);
}

void ProcessUiEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
}

}  // namespace MUI
