#include "device/BootReport.h"

#include <algorithm>

BootReport MakeEnterBootReport()
{
    BootReport report{};
    report[1] = 0x5F;
    report[2] = 0x06;
    report[5] = 0x01;
    report[9] = 0x51;
    return report;
}

BootReport MakeBootStartReport(uint16_t vendorId, uint16_t productId)
{
    BootReport report{};
    report[1] = BOOT_CMD_ERASE;
    report[2] = 0x07;
    report[3] = static_cast<uint8_t>(vendorId);
    report[4] = static_cast<uint8_t>(vendorId >> 8);
    report[5] = static_cast<uint8_t>(productId);
    report[6] = static_cast<uint8_t>(productId >> 8);
    return report;
}

BootReport MakeBootChunkReport(BootCommand command, uint32_t offset, std::span<const uint8_t> chunk)
{
    BootReport report{};
    const size_t length = std::min(chunk.size(), kBootChunkMax);
    report[1] = command;
    report[2] = static_cast<uint8_t>(length);
    for (int i = 0; i < 4; ++i) {
        report[3 + i] = static_cast<uint8_t>(offset >> (8 * i));
    }
    std::copy_n(chunk.begin(), length, report.begin() + 7);
    return report;
}

BootReport MakeBootEndReport()
{
    BootReport report{};
    report[1] = BOOT_CMD_END;
    report[2] = 0x01;
    return report;
}

BootReport MakeBootFinishReport()
{
    BootReport report{};
    report[1] = BOOT_CMD_FINISH;
    report[2] = 0x01;
    return report;
}

bool IsGoodBootAnswer(const uint8_t* answer, int length)
{
    return length >= 2 && answer[0] == 0 && answer[1] == 0;
}
