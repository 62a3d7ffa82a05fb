#include "app/CommandQueue.h"

void CommandQueue::Push(int code)
{
    std::lock_guard<std::mutex> lock(mutex_);
    codes_.push_back(code);
}

void CommandQueue::PushFront(int code)
{
    std::lock_guard<std::mutex> lock(mutex_);
    codes_.push_front(code);
}

std::optional<int> CommandQueue::Pop()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (codes_.empty()) {
        return std::nullopt;
    }
    const int code = codes_.front();
    codes_.pop_front();
    return code;
}

std::optional<int> CommandQueue::PopIf(const std::function<bool(int)>& take)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (codes_.empty() || !take(codes_.front())) {
        return std::nullopt;
    }
    const int code = codes_.front();
    codes_.pop_front();
    return code;
}

bool CommandQueue::Empty() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return codes_.empty();
}

bool CommandQueue::Any(const std::function<bool(int)>& test) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const int code : codes_) {
        if (test(code)) return true;
    }
    return false;
}

void CommandQueue::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    codes_.clear();
}
