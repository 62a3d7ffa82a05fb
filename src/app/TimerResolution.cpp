#include "app/TimerResolution.h"

#include <atomic>

namespace {
std::atomic<int> raised{0};
}

void TimeBeginPeriod(unsigned) { ++raised; }

void TimeEndPeriod(unsigned) { --raised; }

int RaisedTimerPeriods() { return raised.load(); }
