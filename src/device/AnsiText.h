// Text the keyboard sends in the Windows ANSI code page of a western system (1252).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Stops at the first NUL byte.
std::wstring AnsiToWide(const uint8_t* bytes, size_t length);
