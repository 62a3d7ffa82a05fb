// Zip files made by the tests with minizip's writer, including the malformed ones a package
// must never be trusted with.
#pragma once

#include <cstdint>
#include <string>

namespace updatetest {

struct ZipItem {
    std::string name;
    std::string content;
    unsigned unixMode = 0100644;  // with the Unix host in "version made by"
    const char* password = nullptr;
    bool wrongCrc = false;  // stored with a CRC that does not match the data
};

class ZipMaker {
public:
    explicit ZipMaker(const std::string& path);
    ~ZipMaker();  // writes the central directory
    bool Add(const ZipItem& item);

private:
    void* zip_ = nullptr;
};

// Writes an overlapping zip: `copies` entries of the central directory ("f000", "f001", ...)
// that all point at one deflated `content`, so that the archive unpacks to `copies` times its
// size. False when the file could not be written.
bool WriteOverlappingZip(const std::string& path, const std::string& content, unsigned copies);

}  // namespace updatetest
