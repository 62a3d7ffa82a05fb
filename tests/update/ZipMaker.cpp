#include "ZipMaker.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <vector>

namespace updatetest {
namespace {

constexpr uLong kUnixHost = 3u << 8 | 20u;  // made by Unix, zip 2.0
constexpr uLong kUtf8Names = 0x800;

constexpr uint16_t kUnixHostVersion = 3u << 8 | 20u;
constexpr uint16_t kVersionNeeded = 20;
constexpr uint16_t kDeflated = 8;

void Put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Raw deflate data of `content`.
std::string Deflate(const std::string& content)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL,
                 Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> out(deflateBound(&stream, content.size()));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    stream.avail_in = static_cast<uInt>(content.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    const size_t length = out.size() - stream.avail_out;
    deflateEnd(&stream);
    return std::string(reinterpret_cast<const char*>(out.data()), length);
}

}  // namespace

bool WriteOverlappingZip(const std::string& path, const std::string& content, unsigned copies)
{
    const std::string data = Deflate(content);
    const auto crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(content.data()),
                                                 static_cast<uInt>(content.size())));
    const auto name = [](unsigned i) {
        char text[8];
        std::snprintf(text, sizeof text, "f%03u", i % 1000);
        return std::string(text);
    };
    // What the local header and every central entry share after their version fields.
    std::string common;
    Put16(common, 0);  // flags
    Put16(common, kDeflated);
    Put16(common, 0);       // time
    Put16(common, 0x5821);  // date: 2024-01-01
    Put32(common, crc);
    Put32(common, static_cast<uint32_t>(data.size()));
    Put32(common, static_cast<uint32_t>(content.size()));
    Put16(common, 4);  // name length
    Put16(common, 0);  // extra length

    std::string zip;
    Put32(zip, 0x04034b50);
    Put16(zip, kVersionNeeded);
    zip += common + name(0) + data;
    const auto directoryAt = static_cast<uint32_t>(zip.size());
    for (unsigned i = 0; i < copies; ++i) {
        Put32(zip, 0x02014b50);
        Put16(zip, kUnixHostVersion);
        Put16(zip, kVersionNeeded);
        zip += common;
        Put16(zip, 0);  // comment length
        Put16(zip, 0);  // disk
        Put16(zip, 0);  // internal attributes
        Put32(zip, 0100644u << 16);
        Put32(zip, 0);  // every entry's data is the one at the start
        zip += name(i);
    }
    const auto directorySize = static_cast<uint32_t>(zip.size()) - directoryAt;
    Put32(zip, 0x06054b50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, copies);
    Put16(zip, copies);
    Put32(zip, directorySize);
    Put32(zip, directoryAt);
    Put16(zip, 0);
    std::ofstream out(path, std::ios::binary);
    out.write(zip.data(), static_cast<std::streamsize>(zip.size()));
    return static_cast<bool>(out);
}

ZipMaker::ZipMaker(const std::string& path) : zip_(zipOpen64(path.c_str(), APPEND_STATUS_CREATE)) {}

ZipMaker::~ZipMaker()
{
    if (zip_ != nullptr) {
        zipClose(zip_, nullptr);
    }
}

bool ZipMaker::Add(const ZipItem& item)
{
    if (zip_ == nullptr) {
        return false;
    }
    zip_fileinfo info{};
    info.tmz_date = {0, 0, 12, 15, 2, 2024};
    info.external_fa = static_cast<uLong>(item.unixMode) << 16;
    const auto* data = reinterpret_cast<const Bytef*>(item.content.data());
    const uLong crc = crc32(0, data, static_cast<uInt>(item.content.size()));
    const bool raw = item.wrongCrc;
    if (zipOpenNewFileInZip4(zip_, item.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                             raw ? 0 : Z_DEFLATED, raw ? 0 : Z_DEFAULT_COMPRESSION, raw ? 1 : 0,
                             -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, item.password, crc,
                             kUnixHost, kUtf8Names) != ZIP_OK) {
        return false;
    }
    if (zipWriteInFileInZip(zip_, item.content.data(),
                            static_cast<unsigned>(item.content.size())) != ZIP_OK) {
        return false;
    }
    if (raw) {
        return zipCloseFileInZipRaw(zip_, item.content.size(), crc ^ 0xFFFFu) == ZIP_OK;
    }
    return zipCloseFileInZip(zip_) == ZIP_OK;
}

}  // namespace updatetest
