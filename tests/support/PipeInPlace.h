// A named pipe in a file's place, which nobody writes to: a reader that opens it the ordinary
// way waits for ever. The tests that give one to the program's readers use this.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>

namespace testsupport {

// Makes the pipe at path and runs `use` on a thread of its own; true when `use` came back
// within the limit. A reader still waiting is let go (the pipe opened for writing) before the
// answer, so no thread is left behind.
template <class Use>
bool ReturnsWithoutWaitingOnPipe(const std::string& path, Use use,
                                 std::chrono::seconds limit = std::chrono::seconds(10))
{
    unlink(path.c_str());
    if (mkfifo(path.c_str(), 0600) != 0) {
        return false;
    }
    std::future<void> done = std::async(std::launch::async, use);
    const bool prompt = done.wait_for(limit) == std::future_status::ready;
    while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            close(writer);
        }
    }
    return prompt;
}

}  // namespace testsupport
