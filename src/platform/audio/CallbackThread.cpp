#include "platform/audio/CallbackThread.h"

#include <utility>

namespace audio {

CallbackThread::CallbackThread() : thread_([this] { Loop(); }) {}

CallbackThread::~CallbackThread()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void CallbackThread::Post(std::function<void()> call)
{
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    wake_.notify_all();
}

void CallbackThread::Loop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !calls_.empty(); });
        if (calls_.empty()) {
            return;
        }
        std::function<void()> call = std::move(calls_.front());
        calls_.pop_front();
        lock.unlock();
        call();
        lock.lock();
    }
}

}  // namespace audio
