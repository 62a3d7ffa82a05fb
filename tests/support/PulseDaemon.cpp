#include "support/PulseDaemon.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <thread>

extern char** environ;

namespace testsupport {

namespace {

using namespace std::chrono_literals;

constexpr auto kStartLimit = 10s;
constexpr auto kCommandLimit = 10s;
constexpr int kRate = 48000;

bool Connectable(const std::string& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

}  // namespace

int WaitForChild(pid_t pid, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0) {
            return -1;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(10ms);
    }
}

PulseDaemon::PulseDaemon()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tv-pulse-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        folder_ = pattern;
        for (const char* sub : {"/runtime", "/state", "/home"}) {
            std::filesystem::create_directories(folder_ + sub);
            std::filesystem::permissions(folder_ + sub, std::filesystem::perms::owner_all);
        }
    }
}

PulseDaemon::~PulseDaemon()
{
    for (const pid_t player : players_) {
        kill(player, SIGKILL);
        WaitForChild(player, 5s);
    }
    Kill();
    if (!folder_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
}

std::string PulseDaemon::ServerAddress() const { return "unix:" + folder_ + "/native"; }

std::vector<std::string> PulseDaemon::Environment() const
{
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("PULSE_", 0) != 0 && text.rfind("HOME=", 0) != 0 &&
            text.rfind("XDG_RUNTIME_DIR=", 0) != 0 && text.rfind("DBUS_", 0) != 0) {
            env.push_back(text);
        }
    }
    env.push_back("HOME=" + folder_ + "/home");
    env.push_back("XDG_RUNTIME_DIR=" + folder_ + "/runtime");
    env.push_back("PULSE_RUNTIME_PATH=" + folder_ + "/runtime");
    env.push_back("PULSE_STATE_PATH=" + folder_ + "/state");
    env.push_back("PULSE_SERVER=" + ServerAddress());
    return env;
}

pid_t PulseDaemon::Spawn(const std::vector<std::string>& args, const std::string& output,
                         const std::string& input)
{
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const std::vector<std::string> env = Environment();
    std::vector<char*> envp;
    for (const std::string& entry : env) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.empty() ? "/dev/null" : input.c_str(),
                                     O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool PulseDaemon::Start(const std::vector<std::string>& sinks)
{
    if (folder_.empty()) {
        error_ = "no temporary folder";
        return false;
    }
    // -n: no default script; a root user is warned, not refused, outside system mode.
    std::vector<std::string> args{
        "pulseaudio",
        "-n",
        "--daemonize=no",
        "--system=no",
        "--use-pid-file=no",
        "--exit-idle-time=-1",
        "--realtime=no",
        "--high-priority=no",
        "--disable-shm=yes",
        "--log-target=stderr",
        "--load=module-native-protocol-unix socket=" + folder_ + "/native auth-anonymous=1"};
    for (const std::string& sink : sinks) {
        args.push_back("--load=module-null-sink sink_name=" + sink);
    }
    const std::string log = folder_ + "/daemon.log";
    daemon_ = Spawn(args, log, "");
    if (daemon_ <= 0) {
        error_ = "pulseaudio cannot be run";
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(daemon_, &status, WNOHANG) == daemon_) {
            daemon_ = -1;
            std::ifstream in(log);
            error_ = "pulseaudio ended: " + std::string(std::istreambuf_iterator<char>(in), {});
            return false;
        }
        if (Connectable(folder_ + "/native")) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    error_ = "pulseaudio took no connection in time";
    Kill();
    return false;
}

bool PulseDaemon::PlaySine(const std::string& sink, double hertz, float amplitude, int seconds)
{
    const std::string file = folder_ + "/sine" + std::to_string(sineFiles_++) + ".raw";
    {
        std::vector<float> samples(static_cast<size_t>(kRate) * seconds);
        for (size_t i = 0; i < samples.size(); ++i) {
            samples[i] = amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * hertz *
                                                                 static_cast<double>(i) / kRate));
        }
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(samples.data()),
                  static_cast<std::streamsize>(samples.size() * sizeof(float)));
        if (!out) {
            return false;
        }
    }
    const pid_t pid = Spawn({"pacat", "--playback", "--raw", "--device=" + sink,
                             "--format=float32le", "--rate=48000", "--channels=1"},
                            folder_ + "/pacat.log", file);
    if (pid <= 0) {
        return false;
    }
    players_.push_back(pid);
    return true;
}

bool PulseDaemon::Pactl(const std::vector<std::string>& args)
{
    std::vector<std::string> all{"pactl"};
    all.insert(all.end(), args.begin(), args.end());
    const pid_t pid = Spawn(all, folder_ + "/pactl.log", "");
    return pid > 0 && WaitForChild(pid, kCommandLimit) == 0;
}

void PulseDaemon::Kill()
{
    if (daemon_ > 0) {
        kill(daemon_, SIGKILL);
        WaitForChild(daemon_, 5s);
        daemon_ = -1;
    }
}

}  // namespace testsupport
