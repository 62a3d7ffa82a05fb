// The packets of the CH375 bridge's boot loader: a command byte, a length, the low 16 bits of
// the byte offset little-endian, then up to 60 image bytes. Erase, program and verify are
// answered with two bytes, both 0 when taken; the end is not answered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "device/BootReport.h"

// The most image bytes one bridge packet carries, and the offsets it can name.
inline constexpr size_t kCh375ChunkMax = 60;
inline constexpr size_t kCh375AddressSpace = 0x10000;
inline constexpr size_t kCh375AnswerLength = 2;

// 81 02 00 00.
std::vector<uint8_t> MakeCh375ErasePacket();
// BOOT_CMD_PROGRAM or BOOT_CMD_VERIFY: command, length, offset low, offset high, the bytes.
// The offset must lie below kCh375AddressSpace (the caller refuses larger images).
std::vector<uint8_t> MakeCh375ChunkPacket(BootCommand command, size_t offset,
                                          std::span<const uint8_t> chunk);
// 83 02 00 00.
std::vector<uint8_t> MakeCh375EndPacket();
bool IsGoodCh375Answer(const uint8_t (&answer)[kCh375AnswerLength]);
