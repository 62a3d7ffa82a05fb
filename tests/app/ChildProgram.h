// The real program run as a child process, with its standard output read line by line.
#pragma once

#include <sys/types.h>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace apptest {

class ChildProgram {
public:
    // What the lines read come from: standard output, or standard error as well.
    enum class Output { kStdout, kWithErrors };

    // Starts `program` with the arguments; the environment is this process's plus `extraEnv`
    // ("NAME=value" entries; a bare "NAME" leaves NAME out).
    ChildProgram(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& extraEnv, Output output = Output::kStdout);
    ~ChildProgram();  // kills a child still running
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    // Waits for a line starting with `prefix`; the line, or nothing at the time-out or when
    // the output ends.
    std::optional<std::string> WaitForLine(const std::string& prefix,
                                           std::chrono::milliseconds timeout);
    // Waits for the child to end; its exit code, or nothing at the time-out (or on a signal).
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
    bool reaped_ = false;
};

}  // namespace apptest
