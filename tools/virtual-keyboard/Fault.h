// Scripted misbehaviour of the virtual keyboard, matched against the command of each request.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vkb {

struct Fault {
    enum class Kind {
        NoAnswer,       // the request is carried out, its answer never sent
        Delay,          // the answer is sent `value` ms late
        ForeignAnswer,  // an answer to another command comes first
        FailWrite,      // the write fails; the keyboard never sees the request
        UnplugAfter,    // after `value` more requests the keyboard is pulled out
    };
    Kind kind = Kind::NoAnswer;
    int command = -1;  // -1: every command
    int count = -1;    // requests it applies to; -1: all of them
    int value = 0;
    // UnplugAfter: plugged back in this many ms after it was pulled out; -1: left out.
    int replugMs = -1;
};

// Parses "no-answer=CMD[:COUNT]", "delay=MS[:CMD[:COUNT]]", "foreign-answer=CMD[:COUNT]",
// "fail-write=CMD[:COUNT]" and "unplug-after=N[:MS]"; CMD is a number (0x.. hexadecimal) or "all".
std::optional<Fault> ParseFault(const std::string& text);

// The active faults, in the order they were added.
class FaultPlan {
public:
    void Add(const Fault& fault) { faults_.push_back(fault); }
    void Clear() { faults_.clear(); }
    // True when a fault of the kind applies to the command; one use of the first such fault
    // is consumed and its value stored in value when given.
    bool Take(Fault::Kind kind, int command, int* value = nullptr);
    // Counts one request against every UnplugAfter fault; true when one runs out, its replug
    // time stored in replugMs when given.
    bool CountTowardsUnplug(int* replugMs = nullptr);

private:
    std::vector<Fault> faults_;
};

}  // namespace vkb
