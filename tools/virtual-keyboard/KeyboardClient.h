// For end-to-end tests: asking a virtual keyboard that runs as its own process for its state,
// sending it control commands, and reading the state dump.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vkb {

// The state dump of the keyboard serving socketPath; nullopt when it does not answer.
std::optional<std::string> QueryState(const std::string& socketPath, int timeoutMs = 5000);
// One control command (see ControlCommand.h); the reply ("ok" or "error: ..."), nullopt when
// the keyboard does not answer.
std::optional<std::string> SendControl(const std::string& socketPath, const std::string& command,
                                       int timeoutMs = 5000);
// The items of a state dump by name; a name that repeats ("request", "error") holds its values
// joined by '\n'.
std::map<std::string, std::string> ParseState(const std::string& dump);
// Hexadecimal text as bytes; nullopt for an odd length or a character that is no digit.
std::optional<std::vector<uint8_t>> HexToBytes(const std::string& text);

}  // namespace vkb
