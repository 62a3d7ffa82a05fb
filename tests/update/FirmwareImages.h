// Firmware images for the upgrade tests: recognisable bytes, a file that holds them for the
// life of the object, and their package published on the tests' HTTPS server.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HttpsServer.h"
#include "ZipMaker.h"
#include "platform/os/FileSha256.h"
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

// The service's firmware `version` in `folder` ("" or "<model>/" under "firmware-upgrade/"), its
// package holding "firmware-<version>.bin", and the package's digest beside it.
inline void PublishFirmware(const HttpsServer& server, const std::string& folder,
                            const std::string& version, const Bytes& image)
{
    const std::string base = "firmware-upgrade/" + folder;
    server.Put(base + "version", version + "\n");
    const std::string package = base + "firmware-" + version + ".zip";
    const std::filesystem::path zip = server.Root() / package;
    std::filesystem::create_directories(zip.parent_path());
    std::filesystem::remove(zip);
    {
        ZipMaker maker(zip.string());
        maker.Add({"firmware-" + version + ".bin", std::string(image.begin(), image.end())});
    }
    server.Put(package + ".sha256", os::FileSha256(zip.wstring()).value_or("") + "\n");
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
