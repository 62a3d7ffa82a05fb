#include "platform/mui/TerminationSignal.h"

#include <fcntl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace MUI {

namespace {

// The signal handler only writes a byte here; the UI thread reads it from the other end.
int signalPipe[2] = {-1, -1};

std::function<void()>& Handler()
{
    static std::function<void()> handler;
    return handler;
}

extern "C" void OnSignal(int)
{
    const char byte = 1;
    // Nothing more can be done in a signal handler when the pipe is full: a byte is waiting.
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
}

}  // namespace

void OnTerminationSignal(std::function<void()> handler)
{
    Handler() = std::move(handler);
    if (signalPipe[0] >= 0) return;
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char bytes[16];
        while (read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        if (Handler()) Handler()();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace MUI
