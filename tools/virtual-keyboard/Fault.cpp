#include "Fault.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace vkb {
namespace {

std::optional<int> ParseNumber(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value < 0 || value > 0x7FFFFFFF) return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int> ParseCommand(const std::string& text)
{
    if (text == "all") return -1;
    const auto value = ParseNumber(text);
    if (!value || *value > 0xFF) return std::nullopt;
    return value;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

}  // namespace

std::optional<Fault> ParseFault(const std::string& text)
{
    const size_t equals = text.find('=');
    if (equals == std::string::npos) return std::nullopt;
    const std::string name = text.substr(0, equals);
    const std::vector<std::string> args = Split(text.substr(equals + 1), ':');
    if (args.empty()) return std::nullopt;
    Fault fault;
    size_t next = 0;  // index of the command argument
    if (name == "no-answer") {
        fault.kind = Fault::Kind::NoAnswer;
    } else if (name == "foreign-answer") {
        fault.kind = Fault::Kind::ForeignAnswer;
    } else if (name == "fail-write") {
        fault.kind = Fault::Kind::FailWrite;
    } else if (name == "delay") {
        fault.kind = Fault::Kind::Delay;
        const auto ms = ParseNumber(args[0]);
        if (!ms) return std::nullopt;
        fault.value = *ms;
        next = 1;
    } else if (name == "unplug-after") {
        fault.kind = Fault::Kind::UnplugAfter;
        const auto n = ParseNumber(args[0]);
        if (!n || args.size() > 2) return std::nullopt;
        fault.value = *n;
        if (args.size() == 2) {
            const auto ms = ParseNumber(args[1]);
            if (!ms) return std::nullopt;
            fault.replugMs = *ms;
        }
        return fault;
    } else {
        return std::nullopt;
    }
    if (args.size() > next + 2) return std::nullopt;
    if (args.size() > next) {
        const auto command = ParseCommand(args[next]);
        if (!command) return std::nullopt;
        fault.command = *command;
    }
    if (args.size() > next + 1) {
        const auto count = ParseNumber(args[next + 1]);
        if (!count || *count == 0) return std::nullopt;
        fault.count = *count;
    }
    return fault;
}

bool FaultPlan::Take(Fault::Kind kind, int command, int* value)
{
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->kind != kind || (it->command != -1 && it->command != command)) continue;
        if (value != nullptr) *value = it->value;
        if (it->count > 0 && --it->count == 0) faults_.erase(it);
        return true;
    }
    return false;
}

bool FaultPlan::CountTowardsUnplug(int* replugMs)
{
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->kind != Fault::Kind::UnplugAfter) continue;
        if (it->value-- <= 0) {
            if (replugMs != nullptr) *replugMs = it->replugMs;
            faults_.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace vkb
