#include "KeyboardClient.h"

#include <sstream>

#include "platform/hid/SocketWire.h"

namespace vkb {
namespace {

std::optional<std::string> Ask(const std::string& socketPath, uint8_t type, uint8_t replyType,
                               const std::string& text, int timeoutMs)
{
    const auto reply = hid::wire::Transact(socketPath, type, text.data(), text.size(), timeoutMs);
    if (!reply || reply->type != replyType) return std::nullopt;
    return std::string(reply->payload.begin(), reply->payload.end());
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> QueryState(const std::string& socketPath, int timeoutMs)
{
    return Ask(socketPath, hid::wire::kState, hid::wire::kStateReply, "", timeoutMs);
}

std::optional<std::string> SendControl(const std::string& socketPath, const std::string& command,
                                       int timeoutMs)
{
    return Ask(socketPath, hid::wire::kControl, hid::wire::kControlReply, command, timeoutMs);
}

std::map<std::string, std::string> ParseState(const std::string& dump)
{
    std::map<std::string, std::string> items;
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line);) {
        const size_t space = line.find(' ');
        const std::string name = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        const auto [it, added] = items.emplace(name, value);
        if (!added) it->second += "\n" + value;
    }
    return items;
}

std::optional<std::vector<uint8_t>> HexToBytes(const std::string& text)
{
    if (text.size() % 2 != 0) return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return bytes;
}

}  // namespace vkb
