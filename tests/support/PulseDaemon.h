// A private PulseAudio daemon for tests: user mode (also when run as root), its runtime folder
// and socket in a temporary folder, no default script, null sinks named by the test, and players
// (`pacat`) that send a sine to a sink. Every wait is bounded; the destructor kills whatever is
// still running and removes the folder.
#pragma once

#include <sys/types.h>
#include <chrono>
#include <string>
#include <vector>

namespace testsupport {

class PulseDaemon {
public:
    PulseDaemon();
    ~PulseDaemon();
    PulseDaemon(const PulseDaemon&) = delete;
    PulseDaemon& operator=(const PulseDaemon&) = delete;

    // Starts the daemon with one null sink per name (the first is the default) and waits until
    // it takes connections. False (with Error() saying why) when it cannot start.
    bool Start(const std::vector<std::string>& sinks);
    const std::string& Error() const { return error_; }
    // "unix:<socket>", for PULSE_SERVER.
    std::string ServerAddress() const;
    // Plays a sine of `hertz` at `amplitude` (float samples) on `sink`, for `seconds`.
    bool PlaySine(const std::string& sink, double hertz, float amplitude, int seconds);
    // Runs `pactl` with the arguments; true when it ended with 0 within the time-out.
    bool Pactl(const std::vector<std::string>& args);
    // Kills the daemon (SIGKILL) and reaps it.
    void Kill();
    bool Running() const { return daemon_ > 0; }

private:
    pid_t Spawn(const std::vector<std::string>& args, const std::string& output,
                const std::string& input);
    std::vector<std::string> Environment() const;

    std::string folder_;
    std::string error_;
    pid_t daemon_ = -1;
    std::vector<pid_t> players_;
    int sineFiles_ = 0;
};

// Reaps `pid`, waiting at most `timeout`; its exit status, or -1 when it did not end in time
// (it is then killed).
int WaitForChild(pid_t pid, std::chrono::milliseconds timeout);

}  // namespace testsupport
