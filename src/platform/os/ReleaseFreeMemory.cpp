#include "platform/os/ReleaseFreeMemory.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace os {

namespace {

// Long enough for a page switch's paints and the decoding they start.
constexpr int kSettleMs = 200;

std::atomic<bool> pending{false};

}  // namespace

void ReleaseFreeMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void ReleaseFreeMemorySoon()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        ReleaseFreeMemory();
        return;
    }
    if (pending.exchange(true)) return;
    // Queued to the application's thread, where the timer can run.
    QMetaObject::invokeMethod(
        app,
        [] {
            QTimer::singleShot(kSettleMs, [] {
                pending = false;
                ReleaseFreeMemory();
            });
        },
        Qt::QueuedConnection);
}

}  // namespace os
