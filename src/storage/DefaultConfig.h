// The configuration rows every profile starts with.
#pragma once

#include <span>

namespace storage {

struct DefaultConfigEntry {
    const char* key;
    const char* value;
};

// The 44 keys with their first values, in insertion order.
std::span<const DefaultConfigEntry> DefaultConfigRows();

}  // namespace storage
