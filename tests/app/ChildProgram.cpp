#include "app/ChildProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace apptest {

ChildProgram::ChildProgram(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& extraEnv, Output output)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        return;
    }
    std::vector<std::string> env;
    // An extra entry replaces the inherited one of the same name; one without '=' removes it.
    const auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    auto overridden = [&extraEnv, &nameOf](const std::string& entry) {
        for (const std::string& extra : extraEnv) {
            if (nameOf(extra) == nameOf(entry)) {
                return true;
            }
        }
        return false;
    };
    for (char** e = environ; *e != nullptr; ++e) {
        if (!overridden(*e)) {
            env.emplace_back(*e);
        }
    }
    for (const std::string& extra : extraEnv) {
        if (extra.find('=') != std::string::npos) {
            env.push_back(extra);
        }
    }
    // Qt's offscreen desktop is a screen of 800 x 600, smaller than the main window, which the
    // program would cut to it; a child gets a desktop of 1920 x 1080 unless its test names a
    // screen of its own ("offscreen:configfile=...").
    for (std::string& e : env) {
        if (e == "QT_QPA_PLATFORM=offscreen") {
            const char* source = std::getenv("TV_SOURCE_DIR");
            e += ":configfile=" + std::string(source != nullptr ? source : ".") +
                 "/tests/support/offscreen-desktop.json";
        }
    }
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStore) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    if (output == Output::kWithErrors) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    }
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    out_ = pipeFds[0];
}

ChildProgram::~ChildProgram()
{
    if (pid_ > 0 && !reaped_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) {
        close(out_);
    }
}

std::optional<std::string> ChildProgram::WaitForLine(const std::string& prefix,
                                                     std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        for (std::size_t nl; (nl = pending_.find('\n')) != std::string::npos;) {
            std::string line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            if (line.starts_with(prefix)) {
                return line;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (out_ < 0 || left.count() <= 0) {
            return std::nullopt;
        }
        pollfd fd{out_, POLLIN, 0};
        const int ready = poll(&fd, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        char buffer[512];
        const ssize_t n = read(out_, buffer, sizeof buffer);
        if (n <= 0) {
            return std::nullopt;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

std::optional<int> ChildProgram::WaitForExit(std::chrono::milliseconds timeout)
{
    if (pid_ <= 0 || reaped_) {
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            reaped_ = true;
            if (WIFEXITED(status)) {
                return WEXITSTATUS(status);
            }
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace apptest
