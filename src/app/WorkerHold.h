// Keeps the worker between two of its steps while the UI thread changes what every routine
// relies on (the database file under a factory reset): the worker's step runs under the hold's
// lock, and a hold asked for makes the next steps wait until it is dropped.
#pragma once

#include <atomic>
#include <mutex>

class WorkerHold {
public:
    // Worker: the guard of one step. Empty (the step is to be skipped) while a hold is asked
    // for, so that the asking thread gets the lock between two steps.
    std::unique_lock<std::mutex> EnterStep();

    // UI thread: returns once no step runs; no step starts until the returned lock is dropped.
    // Handles the UI thread's events while it waits, so a step that calls onto the UI thread
    // still ends.
    std::unique_lock<std::mutex> HoldBetweenSteps();

private:
    std::mutex step_;
    std::atomic<bool> asked_{false};
};
