#include "ZipMaker.h"

#include <minizip/zip.h>
#include <zlib.h>

namespace updatetest {
namespace {

constexpr uLong kUnixHost = 3u << 8 | 20u;  // made by Unix, zip 2.0
constexpr uLong kUtf8Names = 0x800;

}  // namespace

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
