// The reports of the keyboard's HID boot loader: 1024-byte buffers, report ID 0 first, zero
// but for the bytes each names. The running keyboard is sent the enter-boot report; the boot
// loader takes the start (erase), the image in chunks (program, then verify), the end and the
// finish, and answers each.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/DeviceManager.h"

enum BootCommand : uint8_t {
    BOOT_CMD_PROGRAM = 0x80,
    BOOT_CMD_ERASE = 0x81,
    BOOT_CMD_VERIFY = 0x82,
    BOOT_CMD_END = 0x83,
    BOOT_CMD_FINISH = 0x84,
};

using BootReport = std::array<uint8_t, kIspBufferSize>;

// The most image bytes one boot-loader chunk carries.
inline constexpr size_t kBootChunkMax = 32;

BootReport MakeEnterBootReport();
// The start: the boot loader's own vendor and product id, little-endian.
BootReport MakeBootStartReport(uint16_t vendorId, uint16_t productId);
// BOOT_CMD_PROGRAM or BOOT_CMD_VERIFY with 1..32 bytes at a 32-bit little-endian byte offset.
BootReport MakeBootChunkReport(BootCommand command, uint32_t offset,
                               std::span<const uint8_t> chunk);
BootReport MakeBootEndReport();
BootReport MakeBootFinishReport();
// An answer as delivered (report ID removed) is good when its first two bytes are both 0.
bool IsGoodBootAnswer(const uint8_t* answer, int length);
