// What an upgrader tells while it runs: its state and the percent reached, each change posted
// to the progress callback with the state it came with.
#pragma once

#include <atomic>

#include "update/UpgradeState.h"

class UpgradeReporter {
public:
    // A new run: state UPGRADE_STARTED, 5 percent.
    void Start(UpgradeProgress progress);
    void Post(int percent);
    // The state from now on, posted with `percent`.
    void Enter(int state, int percent);
    // A failure: the state, posted with the last percent again.
    void Fail(int state) { Enter(state, lastPercent_); }

    int State() const { return state_.load(); }

private:
    UpgradeProgress progress_;
    std::atomic<int> state_{0};
    int lastPercent_ = 0;
};
