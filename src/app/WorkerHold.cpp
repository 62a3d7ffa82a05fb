#include "app/WorkerHold.h"

#include "platform/mui/UiThread.h"

std::unique_lock<std::mutex> WorkerHold::EnterStep()
{
    if (asked_.load()) {
        return {};
    }
    // A hold taken after the test above keeps the step waiting here, before it starts.
    return std::unique_lock<std::mutex>(step_);
}

std::unique_lock<std::mutex> WorkerHold::HoldBetweenSteps()
{
    asked_ = true;
    std::unique_lock<std::mutex> held(step_, std::try_to_lock);
    while (!held.owns_lock()) {
        MUI::ProcessUiEvents();
        held.try_lock();
    }
    asked_ = false;
    return held;
}
