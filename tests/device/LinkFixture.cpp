#include "LinkFixture.h"

namespace fake {

Bytes InfoAnswer(const std::string& text)
{
    const Bytes bytes(text.begin(), text.end());
    return Answer(0x03, static_cast<uint8_t>(bytes.size()), 0, bytes);
}

std::function<std::vector<Bytes>(const Bytes&)> EchoKeyboard(std::string infoText)
{
    return [infoText](const Bytes& request) -> std::vector<Bytes> {
        if (request.at(2) == 0x03) return {InfoAnswer(infoText)};
        return {Answer(request)};
    };
}

}  // namespace fake
