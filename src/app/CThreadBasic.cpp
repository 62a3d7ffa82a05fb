#include "app/CThreadBasic.h"

#include <chrono>
#include <thread>

#include "platform/os/Clock.h"

void StopEvent::Set()
{
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = true;
    cv_.notify_all();
}

bool StopEvent::Wait(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return set_; });
}

bool CThreadBasic::Start()
{
    if (running.load()) {
        return false;
    }
    period = 10;
    repeat = 1;
    startTick = os::TickCount();
    stopEvent = std::make_shared<StopEvent>();
    running = 1;
    std::thread(&CThreadBasic::ThreadProc, this, stopEvent).detach();
    return true;
}

void CThreadBasic::ThreadProc(CThreadBasic* self, std::shared_ptr<StopEvent> stop)
{
    using Clock = std::chrono::steady_clock;
    if (!self->repeat.load()) {
        self->Run();
    } else {
        while (self->running.load()) {
            const auto begin = Clock::now();
            self->Run();
            const auto elapsed = Clock::now() - begin;
            const auto periodLength = std::chrono::milliseconds(self->period.load());
            if (elapsed < periodLength) {
                std::this_thread::sleep_for(periodLength - elapsed);
            }
        }
    }
    stop->Set();
}
