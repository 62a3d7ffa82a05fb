#include "storage/WriteFailures.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace storage {

namespace {

std::mutex handlerMutex;
WriteFailureHandler failureHandler;
// Set by a failure, cleared by the next write that succeeds: one report per run of failures.
std::atomic<bool> failing{false};
thread_local uint64_t threadFailures = 0;

}  // namespace

void SetWriteFailureHandler(WriteFailureHandler handler)
{
    std::lock_guard lock(handlerMutex);
    failureHandler = std::move(handler);
    failing = false;
}

void NoteWriteSucceeded() { failing.store(false, std::memory_order_relaxed); }

void NoteWriteFailed(int sqliteCode)
{
    ++threadFailures;
    if (failing.exchange(true)) return;
    WriteFailureHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = failureHandler;
    }
    if (handler) handler(sqliteCode);
}

uint64_t ThreadWriteFailures() { return threadFailures; }

}  // namespace storage
