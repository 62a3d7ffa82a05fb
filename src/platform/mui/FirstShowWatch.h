// FirstShowWatch: runs a callback the first time a window is shown.
#pragma once

#include <functional>
#include <memory>

class QObject;

namespace MUI {

class MWindow;

class FirstShowWatch {
public:
    // Watches window from now on; onFirstShow runs once, on the UI thread. A window that is
    // not created yet is not watched.
    FirstShowWatch(const MWindow& window, std::function<void()> onFirstShow);
    ~FirstShowWatch();
    FirstShowWatch(const FirstShowWatch&) = delete;
    FirstShowWatch& operator=(const FirstShowWatch&) = delete;

private:
    std::unique_ptr<QObject> filter_;
};

}  // namespace MUI
