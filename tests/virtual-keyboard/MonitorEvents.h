// Collects what a device monitor reports and waits for it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid/HidSeam.h"

namespace vkbtest {

// Collects monitor events and waits for them.
class Events {
public:
    hid::DeviceMonitor::Callback Callback()
    {
        return [this](bool arrived, const std::wstring& name) {
            std::lock_guard<std::mutex> lock(mutex_);
            (arrived ? arrivals_ : removals_).push_back(name);
            changed_.notify_all();
        };
    }
    // True once at least n arrivals and m removals came.
    bool WaitFor(size_t arrivals, size_t removals)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] {
            return arrivals_.size() >= arrivals && removals_.size() >= removals;
        });
    }
    bool Holds(bool arrived, const std::wstring& part)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& name : arrived ? arrivals_ : removals_) {
            if (name.find(part) != std::wstring::npos) return true;
        }
        return false;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::wstring> arrivals_, removals_;
};

}  // namespace vkbtest
