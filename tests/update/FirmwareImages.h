// Firmware images for the upgrade tests: recognisable bytes, and a file that holds them for the
// life of the object.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/text/Utf8.h"

namespace updatetest {

using Bytes = std::vector<uint8_t>;

// Bytes that differ from their neighbours and from another seed's.
inline Bytes Pattern(size_t length, uint8_t seed = 3)
{
    Bytes bytes(length);
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i * 11 + seed);
    return bytes;
}

class ImageFile {
public:
    explicit ImageFile(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                (name + "-" + std::to_string(getpid()) + ".bin"))
    {
    }
    ~ImageFile() { Remove(); }

    // Writes the bytes; the path for the upgraders.
    std::wstring Write(const Bytes& bytes) const
    {
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return Path();
    }
    std::wstring Path() const { return text::Utf8ToWide(path_.string()); }
    bool Exists() const { return std::filesystem::exists(path_); }
    void Remove() const
    {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }

private:
    std::filesystem::path path_;
};

}  // namespace updatetest
