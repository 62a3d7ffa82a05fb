// The system timer resolution raised for short, accurate sleeps. Linux timers are already
// fine-grained, so raising and releasing change nothing; the number of raises not yet released
// is kept so that every raise can be checked to have its release.
#pragma once

// Raises the resolution to `ms` milliseconds (no-op on Linux).
void TimeBeginPeriod(unsigned ms);
// Releases one raise (no-op on Linux).
void TimeEndPeriod(unsigned ms);
// Raises made and not yet released, over all threads.
int RaisedTimerPeriods();
