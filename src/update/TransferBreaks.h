// Work that the thread running a transfer does in the transfer's breaks, for the life of the
// object on that thread: called between reads at most every 10 ms, and about once a second
// while the server sends nothing, so a transfer holds that work up by a second at most. It is
// not called again from inside itself.
#pragma once

#include <functional>

class TransferBreaks {
public:
    explicit TransferBreaks(std::function<void()> work);
    ~TransferBreaks();
    TransferBreaks(const TransferBreaks&) = delete;
    TransferBreaks& operator=(const TransferBreaks&) = delete;

    // Runs the current thread's work when it is due (the transfer's progress callback).
    static void Take();

private:
    std::function<void()> work_;
    TransferBreaks* outer_;
};
