#include "device/Ch375Packet.h"

#include <algorithm>

std::vector<uint8_t> MakeCh375ErasePacket() { return {BOOT_CMD_ERASE, 0x02, 0x00, 0x00}; }

std::vector<uint8_t> MakeCh375ChunkPacket(BootCommand command, size_t offset,
                                          std::span<const uint8_t> chunk)
{
    const size_t length = std::min(chunk.size(), kCh375ChunkMax);
    std::vector<uint8_t> packet;
    packet.reserve(4 + length);
    packet.push_back(command);
    packet.push_back(static_cast<uint8_t>(length));
    packet.push_back(static_cast<uint8_t>(offset));
    packet.push_back(static_cast<uint8_t>(offset >> 8));
    for (size_t i = 0; i < length; ++i) {
        packet.push_back(chunk[i]);
    }
    return packet;
}

std::vector<uint8_t> MakeCh375EndPacket() { return {BOOT_CMD_END, 0x02, 0x00, 0x00}; }

bool IsGoodCh375Answer(const uint8_t (&answer)[kCh375AnswerLength])
{
    return answer[0] == 0 && answer[1] == 0;
}
