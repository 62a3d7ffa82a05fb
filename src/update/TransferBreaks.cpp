#include "update/TransferBreaks.h"

#include <chrono>
#include <utility>

namespace {

// The breaks of the transfers on this thread, and when the last one was taken.
thread_local TransferBreaks* t_breaks = nullptr;
thread_local bool t_inBreak = false;
thread_local std::chrono::steady_clock::time_point t_lastBreak{};
constexpr auto kBreakPeriod = std::chrono::milliseconds(10);

}  // namespace

TransferBreaks::TransferBreaks(std::function<void()> work)
    : work_(std::move(work)), outer_(t_breaks)
{
    t_breaks = this;
}

TransferBreaks::~TransferBreaks() { t_breaks = outer_; }

void TransferBreaks::Take()
{
    if (t_breaks == nullptr || t_inBreak || !t_breaks->work_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - t_lastBreak < kBreakPeriod) {
        return;
    }
    t_inBreak = true;
    t_breaks->work_();
    t_inBreak = false;
    t_lastBreak = std::chrono::steady_clock::now();
}
