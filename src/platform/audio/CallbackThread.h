// One thread that runs the calls posted to it, in order; joined when destroyed (after the calls
// already posted have run).
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace audio {

class CallbackThread {
public:
    CallbackThread();
    ~CallbackThread();
    CallbackThread(const CallbackThread&) = delete;
    CallbackThread& operator=(const CallbackThread&) = delete;

    void Post(std::function<void()> call);

private:
    void Loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> calls_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace audio
