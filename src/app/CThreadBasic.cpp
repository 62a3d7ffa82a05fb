#include "app/CThreadBasic.h"

#include <algorithm>
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

void CThreadBasic::Wake()
{
    std::lock_guard lock(wakeMutex_);
    woken_ = true;
    wakeCv_.notify_all();
}

void CThreadBasic::PauseUntil(std::chrono::steady_clock::time_point until)
{
    std::unique_lock lock(wakeMutex_);
    wakeCv_.wait_until(lock, until, [this] { return woken_; });
    woken_ = false;
}

void CThreadBasic::RestAfterStep(int ms) { rest_ = ms; }

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
            self->rest_ = 0;
            self->Run();
            // A step that took the whole period or longer is followed by the next at once.
            const int pause = std::max(self->period.load(), self->rest_.load());
            self->PauseUntil(begin + std::chrono::milliseconds(pause));
        }
    }
    stop->Set();
}
