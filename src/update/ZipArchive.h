// Reading a zip package (minizip over zlib) and unpacking it into a folder. Every entry stays
// inside the target folder: names that climb out of it ("../x", "a/../../b", "..\x"), absolute
// names and symbolic links are refused, as are encrypted entries, entries whose data fail
// their CRC, and entries beyond the size limits. Both '/' and '\' separate folders; names are
// UTF-8 (or the system code page for old archives that are not); a Unix entry keeps its
// permission bits, so an installer stays executable.
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

struct ZipEntry {
    int index = -1;           // with GetEntry(-1): the number of entries
    std::wstring name;        // as stored, converted to wide text
    unsigned attributes = 0;  // Windows attributes: 0x1 read-only, 0x2 hidden, 0x4 system,
                              // 0x10 folder, 0x20 archive
    unsigned mode = 0;        // Unix permission bits (0 when the archive has none)
    bool symlink = false;
    bool encrypted = false;
    std::time_t modified = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
};

// What an archive must unpack to less than, per entry and in total (a zip bomb reaches these).
// The total is checked against the sizes the central directory declares before anything is
// written, and against the bytes written while unpacking.
struct ZipLimits {
    uint64_t maxEntryBytes = 256ull << 20;
    uint64_t maxTotalBytes = 512ull << 20;
};

class ZipArchive {
public:
    // Result codes; each is also kept as the process's last result.
    static constexpr int kOk = 0;
    static constexpr int kOpenFailed = 0x200;  // archive or output file not opened or created
    static constexpr int kWriteFailed = 0x400;
    static constexpr int kHeaderFailed = 0x700;
    static constexpr int kExtraFailed = 0x800;
    static constexpr int kPassword = 0x1000;  // an encrypted entry
    static constexpr int kBadArgument = 0x10000;
    static constexpr int kUnsafeName = 0x20000;    // leaves the target folder, or a link
    static constexpr int kTooLarge = 0x40000;      // beyond the size limits
    static constexpr int kReadFailed = 0x5000000;  // read, inflate or CRC error

    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Opens the archive; null on failure (0x200 as the last result). The base directory starts
    // as the current directory.
    static std::unique_ptr<ZipArchive> Open(const std::wstring& path, ZipLimits limits = {});
    static int LastResult();

    int SetBaseDirectory(const std::wstring& path);
    // index -1: the count in entry.index. Otherwise the entry's information.
    int GetEntry(int index, ZipEntry& entry);
    // Writes entry `index` as `name` under the base directory (a folder entry creates the
    // folder). A failed entry leaves no file behind.
    int ExtractEntry(int index, const std::wstring& name);
    int Close();

private:
    explicit ZipArchive(void* handle, ZipLimits limits);
    int MoveTo(int index, ZipEntry& entry);
    int WriteEntry(const ZipEntry& entry, const std::string& path);

    void* zip_ = nullptr;
    int count_ = 0;
    int position_ = -1;
    ZipEntry cached_;
    std::string base_;
    ZipLimits limits_;
    // The sum of the sizes the central directory declares (saturated).
    uint64_t declaredTotal_ = 0;
    uint64_t extracted_ = 0;
    std::unique_ptr<char[]> buffer_;
};

// Unpacks every entry of the archive into `target` (created when missing); an entry that fails
// does not stop the others. True only when the archive opened and every entry was written;
// otherwise the last result holds the first failure.
bool UnzipAll(const std::wstring& archive, const std::wstring& target, ZipLimits limits = {});
