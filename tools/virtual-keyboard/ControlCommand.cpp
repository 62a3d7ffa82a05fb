#include "ControlCommand.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace vkb {
namespace {

bool ToNumber(const std::string& text, long max, long& value)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && value >= 0 && value <= max;
}

std::string RunTravel(VirtualKeyboard& keyboard, const std::vector<std::string>& args)
{
    if (args.size() != 3 && args.size() != 9) return "error: travel takes 3 or 9 numbers";
    long v[9] = {};
    const long limits[9] = {127, 0xFFFF, 0xFFFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFFFF, 0xFFFF};
    for (size_t i = 0; i < args.size(); ++i) {
        if (!ToNumber(args[i], limits[i], v[i])) return "error: bad number " + args[i];
    }
    TravelReport report;
    report.keyIndex = static_cast<size_t>(v[0]);
    report.reading = static_cast<uint16_t>(v[1]);
    report.fullScale = static_cast<uint16_t>(v[2]);
    report.calibration = static_cast<uint8_t>(v[3]);
    report.digits = {static_cast<uint8_t>(v[4]), static_cast<uint8_t>(v[5]),
                     static_cast<uint8_t>(v[6])};
    report.reference1 = static_cast<uint16_t>(v[7]);
    report.reference2 = static_cast<uint16_t>(v[8]);
    return keyboard.SendTravel(report) ? "ok" : "error: not running";
}

}  // namespace

std::string RunControlCommand(VirtualKeyboard& keyboard, const std::string& line)
{
    std::istringstream stream(line);
    std::string verb;
    stream >> verb;
    std::vector<std::string> args;
    for (std::string word; stream >> word;) args.push_back(word);
    long a = 0, b = 0;
    if (verb == "fault" && args.size() == 1) {
        const auto fault = ParseFault(args[0]);
        if (!fault) return "error: bad fault " + args[0];
        keyboard.AddFault(*fault);
        return "ok";
    }
    if (verb == "clear-faults" && args.empty()) {
        keyboard.ClearFaults();
        return "ok";
    }
    if (verb == "short-reports" && args.size() == 1 && (args[0] == "on" || args[0] == "off")) {
        keyboard.SetShortReports(args[0] == "on");
        return "ok";
    }
    if (verb == "refuse-open" && args.size() == 1 && (args[0] == "on" || args[0] == "off")) {
        keyboard.SetRefuseOpen(args[0] == "on");
        return "ok";
    }
    if (verb == "travel") return RunTravel(keyboard, args);
    if (verb == "profile-switch" && args.size() == 2 && ToNumber(args[0], 255, a) &&
        ToNumber(args[1], 255, b)) {
        return keyboard.SwitchProfile(static_cast<int>(a), static_cast<int>(b))
                   ? "ok"
                   : "error: no such layer or profile, or not running";
    }
    if (verb == "unplug" && args.size() == 1 && ToNumber(args[0], 3600000, a)) {
        keyboard.UnplugFor(static_cast<int>(a));
        return "ok";
    }
    if (verb == "fail-handles" && args.empty()) {
        keyboard.FailHandles();
        return "ok";
    }
    if (verb == "restart" && args.size() == 1 && (args[0] == "running" || args[0] == "boot")) {
        keyboard.RestartInto(args[0] == "boot" ? VirtualKeyboard::Mode::BootLoader
                                               : VirtualKeyboard::Mode::Running);
        return "ok";
    }
    if (verb == "refuse-chunk" && args.size() == 1 &&
        (args[0] == "off" || ToNumber(args[0], 0x7FFFFFFF, a))) {
        keyboard.RefuseBootChunk(args[0] == "off" ? -1 : static_cast<int>(a));
        return "ok";
    }
    if (verb == "clear-log" && args.empty()) {
        keyboard.ClearLog();
        return "ok";
    }
    return "error: unknown command: " + line;
}

}  // namespace vkb
