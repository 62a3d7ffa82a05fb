// virtual-keyboard: plays the keyboard on Unix sockets for end-to-end tests.
//   virtual-keyboard [--dir D] [--name N] [--boot] [--boot-product ID] [--restart-delay MS]
//                    [--flashed-release N] [--refuse-chunk K] [--short-reports] [--refuse-open]
//                    [--no-answer=..] [--delay=..] [--foreign-answer=..] [--fail-write=..]
//                    [--unplug-after=N[:MS]]
//   virtual-keyboard --state SOCKET            prints the state of a running keyboard
//   virtual-keyboard --control SOCKET COMMAND  sends it a control command
// Without --dir the folder named by TOLVENIC_VIRTUAL_KEYBOARD_DIR is used. SIGTERM or SIGINT
// removes the sockets (the program sees the keyboard go) and ends the process.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "ControlCommand.h"
#include "KeyboardClient.h"
#include "SocketServer.h"
#include "VirtualKeyboard.h"
#include "platform/hid/HidSeam.h"

namespace {

int Usage()
{
    std::cerr << "usage: virtual-keyboard [--dir D] [--name N] [--boot] [--boot-product ID]\n"
                 "         [--restart-delay MS] [--flashed-release N] [--refuse-chunk K]\n"
                 "         [--short-reports] [--refuse-open] [--no-answer=CMD[:COUNT]] "
                 "[--delay=MS[:CMD[:COUNT]]]\n"
                 "         [--foreign-answer=CMD[:COUNT]] [--fail-write=CMD[:COUNT]] "
                 "[--unplug-after=N[:MS]]\n"
                 "       virtual-keyboard --state SOCKET\n"
                 "       virtual-keyboard --control SOCKET COMMAND\n";
    return 2;
}

int Client(const std::optional<std::string>& reply, const std::string& socket, bool control)
{
    if (!reply) {
        std::cerr << "virtual-keyboard: no answer from " << socket << "\n";
        return 1;
    }
    std::cout << *reply << (control ? "\n" : "");
    return !control || *reply == "ok" ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string dir;
    if (const char* env = std::getenv(hid::kVirtualKeyboardDirEnv)) dir = env;
    std::string name = "vkb";
    vkb::KeyboardOptions options;
    std::vector<vkb::Fault> faults;
    bool shortReports = false;
    bool refuseOpen = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--state" && hasValue && i + 2 == argc) {
            return Client(vkb::QueryState(argv[i + 1]), argv[i + 1], false);
        } else if (arg == "--control" && i + 3 == argc) {
            return Client(vkb::SendControl(argv[i + 1], argv[i + 2]), argv[i + 1], true);
        } else if (arg == "--dir" && hasValue) {
            dir = argv[++i];
        } else if (arg == "--name" && hasValue) {
            name = argv[++i];
        } else if (arg == "--boot") {
            options.startInBootLoader = true;
        } else if (arg == "--boot-product" && hasValue) {
            const long id = std::strtol(argv[++i], nullptr, 0);
            if (id <= 0 || id > 0xFFFF) return Usage();
            options.bootProductId = static_cast<uint16_t>(id);
        } else if (arg == "--flashed-release" && hasValue) {
            const long release = std::strtol(argv[++i], nullptr, 0);
            if (release <= 0 || release > 0xFFFF) return Usage();
            options.flashedReleaseNumber = static_cast<uint16_t>(release);
        } else if (arg == "--refuse-chunk" && hasValue) {
            options.refusedBootChunk = std::atoi(argv[++i]);
        } else if (arg == "--restart-delay" && hasValue) {
            options.restartDelayMs = std::atoi(argv[++i]);
        } else if (arg == "--short-reports") {
            shortReports = true;
        } else if (arg == "--refuse-open") {
            refuseOpen = true;
        } else if (arg.rfind("--", 0) == 0) {
            const auto fault = vkb::ParseFault(arg.substr(2));
            if (!fault) return Usage();
            faults.push_back(*fault);
        } else {
            return Usage();
        }
    }
    if (dir.empty() || name.empty() || name.find('/') != std::string::npos) return Usage();

    // Signals are taken by sigwait below, never by the serving threads.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    auto keyboard = std::make_shared<vkb::VirtualKeyboard>(options);
    for (const auto& fault : faults) keyboard->AddFault(fault);
    if (shortReports) keyboard->SetShortReports(true);
    keyboard->SetRefuseOpen(refuseOpen);
    vkb::SocketServer server(keyboard, dir, name);
    server.SetStateHandler([keyboard] { return keyboard->DumpState(); });
    server.SetControlHandler(
        [keyboard](const std::string& line) { return vkb::RunControlCommand(*keyboard, line); });
    if (!server.Start()) {
        std::cerr << "virtual-keyboard: cannot serve in " << dir << ": " << std::strerror(errno)
                  << "\n";
        return 1;
    }
    for (const auto& path : server.SocketPaths()) std::cout << "socket " << path << "\n";
    std::cout << "ready" << std::endl;

    int received = 0;
    sigwait(&signals, &received);
    server.Stop();
    return 0;
}
