// Whether a database write made by the UI handler now running failed. Its rows are then the
// old ones (the edit is lost), so nothing may be queued for the keyboard from them. A scope
// is opened at the top of every UI handler; nested handlers (those of a modal loop a handler
// runs) count as part of the outer one.
#pragma once

#include <cstdint>

class HandlerWriteWatch {
public:
    class Scope {
    public:
        explicit Scope(HandlerWriteWatch& watch);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        HandlerWriteWatch& watch_;
    };

    // UI thread: true when a write on this thread failed since the outermost scope opened.
    bool WriteFailed() const;

private:
    int depth_ = 0;
    uint64_t failuresAtEntry_ = 0;
};
