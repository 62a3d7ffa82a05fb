// Writes to the settings database that failed (the file locked by another process beyond the
// busy time-out, a full disk, a file that became read-only): counted per thread, so that a
// handler can tell whether one of its own writes was lost, and told to one process-wide
// handler at the first failure after a write that succeeded (not at every failure of a run).
#pragma once

#include <cstdint>
#include <functional>

namespace storage {

// The handler is called on the thread whose write failed, with the database's lock held: it
// must not use the database itself (post the work to another thread instead).
using WriteFailureHandler = std::function<void(int sqliteCode)>;
void SetWriteFailureHandler(WriteFailureHandler handler);

// Called by the statements and transactions with each write's outcome.
void NoteWriteSucceeded();
void NoteWriteFailed(int sqliteCode);

// Failed writes made on the calling thread so far.
uint64_t ThreadWriteFailures();

}  // namespace storage
