#include "update/UpgradeReporter.h"

void UpgradeReporter::Start(UpgradeProgress progress)
{
    progress_ = std::move(progress);
    Enter(UPGRADE_STARTED, 5);
}

void UpgradeReporter::Post(int percent)
{
    lastPercent_ = percent;
    if (progress_) {
        progress_(percent, state_.load());
    }
}

void UpgradeReporter::Enter(int state, int percent)
{
    state_ = state;
    Post(percent);
}
