// A periodic worker thread: Start runs the derived class's Run every period milliseconds
// (or once) on a thread of its own until the owner clears the running flag; the thread then
// signals its stop event, which the owner may wait on.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

// A manual-reset event: once set it stays set.
class StopEvent {
public:
    void Set();
    // True when the event was set within timeoutMs.
    bool Wait(int timeoutMs);

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool set_ = false;
};

class CThreadBasic {
public:
    virtual ~CThreadBasic() = default;

    // False (and nothing done) when the thread is already running; otherwise starts it.
    bool Start();
    // The step the thread repeats.
    virtual void Run() = 0;
    // Cuts the pause before the next step short (or the next pause, when the thread is inside
    // a step): new work is taken at once instead of up to a period later. Any thread.
    void Wake();
    // Called from the step: the pause after it lasts `ms` instead of the period, as the step
    // has nothing to do sooner. A Wake still ends it at once. Worker thread.
    void RestAfterStep(int ms);
    // The rest the running (or the last) step asked for; 0 for the period.
    int RequestedRest() const { return rest_.load(); }

    // The owner stops the thread by clearing the flag and waiting on the stop event.
    std::atomic<int> running{0};
    std::atomic<int> repeat{1};
    std::atomic<int> period{10};
    uint32_t startTick = 0;
    // Shared with the thread, so the event outlives an owner that stops waiting early.
    std::shared_ptr<StopEvent> stopEvent;

private:
    static void ThreadProc(CThreadBasic* self, std::shared_ptr<StopEvent> stop);
    // Sleeps until `until` or a Wake, whichever comes first.
    void PauseUntil(std::chrono::steady_clock::time_point until);

    std::mutex wakeMutex_;
    std::condition_variable wakeCv_;
    bool woken_ = false;
    // The pause asked for by the running step (0: the period).
    std::atomic<int> rest_{0};
};
