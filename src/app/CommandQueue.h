// The worker's first-in first-out queue of command codes. Both threads append; the worker
// takes one code per step. The lock is held only while a code goes in or comes out.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <optional>

class CommandQueue {
public:
    void Push(int code);
    // Puts the code before every code waiting, to be taken next.
    void PushFront(int code);
    // The front code, removed; nothing when the queue is empty.
    std::optional<int> Pop();
    // The front code, removed, when `take` holds for it; otherwise nothing is removed.
    std::optional<int> PopIf(const std::function<bool(int)>& take);
    bool Empty() const;
    // Whether a waiting code satisfies `test`.
    bool Any(const std::function<bool(int)>& test) const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::deque<int> codes_;
};
