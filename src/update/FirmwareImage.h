// A firmware image read for flashing: the file's bytes padded with zeros to a multiple of 4.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Images of this many bytes or fewer are taken as no image.
inline constexpr size_t kFirmwareImageMinimum = 10;

// The padded bytes of the file; empty when it is missing, cannot be read whole, is larger than
// `capacity` (the device's flash) or holds no more than kFirmwareImageMinimum bytes once padded.
std::vector<uint8_t> LoadFirmwareImage(const std::wstring& path, size_t capacity);
