// The keyboard's per-key switch performance: 8 bytes per key at key index x 8 of a 1024-byte
// table (128 keys), with the encoder the writes use and the decoder of the reads.
//
// Wire layout of one key:
//   0    switch type OR 0xA0 (the 0xA0 bits are always set)
//   1    rapid-trigger mode
//   2-3  actuation - 1, little-endian, 9 bits
//   4-5  rapid-trigger press - 1 (9 bits); byte 5 also carries the press dead zone << 1
//   6-7  rapid-trigger release - 1 (9 bits); byte 7 also carries the release dead zone << 1
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "device/DeviceReport.h"
#include "storage/KeyPerfRecord.h"

inline constexpr size_t kKeyPerfEntryBytes = 8;
inline constexpr int kKeyPerfKeys = 128;
inline constexpr size_t kKeyPerfTableBytes = kKeyPerfKeys * kKeyPerfEntryBytes;
inline constexpr size_t kKeyPerfChunks =
    (kKeyPerfTableBytes + REPORT_DATA_MAX - 1) / REPORT_DATA_MAX;
// A device profile's table starts at device profile x this address.
inline constexpr uint16_t kKeyPerfProfileStride = 1024;
inline constexpr uint8_t kKeyPerfTypeMark = 0xA0;
inline constexpr uint8_t kKeyPerfTypeBits = 0x1F;

static_assert(kKeyPerfTableBytes == 1024);
static_assert(kKeyPerfChunks == 19);
static_assert(kKeyPerfTableBytes - (kKeyPerfChunks - 1) * REPORT_DATA_MAX == 16);

// Whether key index has an entry in the table.
constexpr bool KeyPerfIndexValid(int keyIndex) { return keyIndex >= 0 && keyIndex < kKeyPerfKeys; }

// The row's 8 bytes. Press and release below 1 go out as 1; dead zones only while the row's
// dead-zone state is on and that dead zone is above 0.
void EncodeKeyPerf(const KeyPerfRecord& row, std::span<uint8_t, kKeyPerfEntryBytes> out);

// Decodes 8 bytes into slot's switch type, mode, actuation, press, release and dead zones.
// The dead-zone state becomes 1 when a decoded dead zone is not 0 and is kept otherwise;
// profile, key code and row id are left alone.
void DecodeKeyPerf(std::span<const uint8_t, kKeyPerfEntryBytes> in, KeyPerfRecord& slot);
