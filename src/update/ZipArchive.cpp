#include "update/ZipArchive.h"

#include <fcntl.h>
#include <minizip/unzip.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <vector>

#include "platform/text/CodePage.h"
#include "platform/text/Utf8.h"
#include "update/ZipEntryName.h"

namespace {

constexpr size_t kCopyBufferSize = 16384;
constexpr size_t kNameBufferSize = 4096;
constexpr size_t kExtraBufferSize = 65536;
constexpr unsigned long kFlagEncrypted = 0x1;
constexpr unsigned long kFlagUtf8 = 0x800;
// Hosts of the "version made by" field whose external attributes hold DOS bits.
constexpr unsigned kDosHosts[] = {0, 7, 11, 14};
constexpr unsigned kUnixDirectoryBit = 1u << 30;
constexpr unsigned kUnixOwnerWriteBit = 1u << 23;
constexpr unsigned kAttrReadOnly = 0x1;
constexpr unsigned kAttrDosMask = 0x7;  // read-only, hidden, system
constexpr unsigned kAttrDirectory = 0x10;
constexpr unsigned kAttrArchive = 0x20;
constexpr uint16_t kExtendedTimestampId = 0x5455;  // "UT"

std::atomic<int> g_lastResult{0};

int Remember(int code)
{
    g_lastResult = code;
    return code;
}

std::wstring DecodeName(const char* bytes, unsigned long flag)
{
    const std::string_view raw(bytes);
    if ((flag & kFlagUtf8) != 0 || text::IsValidUtf8(raw)) {
        return text::Utf8ToWide(raw);
    }
    std::wstring wide;
    if (!text::MultiByteToWide(text::GetAnsiCodePage(), raw, wide)) {
        return text::Utf8ToWide(raw);
    }
    return wide;
}

bool IsDosHost(unsigned host)
{
    for (const unsigned dos : kDosHosts) {
        if (host == dos) {
            return true;
        }
    }
    return false;
}

// The modification time of the extended timestamp block, when the extra field holds one.
bool ReadExtendedTime(const unsigned char* extra, size_t size, std::time_t& modified)
{
    size_t at = 0;
    while (at + 4 <= size) {
        const uint16_t id = static_cast<uint16_t>(extra[at] | (extra[at + 1] << 8));
        const size_t length = static_cast<size_t>(extra[at + 2] | (extra[at + 3] << 8));
        if (id == kExtendedTimestampId) {
            if (length >= 5 && at + 9 <= size && (extra[at + 4] & 1) != 0) {
                const uint32_t seconds = static_cast<uint32_t>(extra[at + 5]) |
                                         static_cast<uint32_t>(extra[at + 6]) << 8 |
                                         static_cast<uint32_t>(extra[at + 7]) << 16 |
                                         static_cast<uint32_t>(extra[at + 8]) << 24;
                modified = static_cast<std::time_t>(seconds);
                return true;
            }
            return false;
        }
        at += 4 + length;
    }
    return false;
}

std::time_t DosTime(const tm_unz& date)
{
    std::tm local{};
    local.tm_year = static_cast<int>(date.tm_year) - 1900;
    local.tm_mon = static_cast<int>(date.tm_mon);
    local.tm_mday = static_cast<int>(date.tm_mday);
    local.tm_hour = static_cast<int>(date.tm_hour);
    local.tm_min = static_cast<int>(date.tm_min);
    local.tm_sec = static_cast<int>(date.tm_sec);
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// Creates every missing folder of `relative` under `base`; refuses to pass through anything
// that is not a real folder (a link placed there beforehand, a file).
bool MakeFolders(const std::string& base, const std::string& relative)
{
    std::string path = base;
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos) {
            end = relative.size();
        }
        path += '/';
        path.append(relative, start, end - start);
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) {
                return false;
            }
        } else if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool MakeBase(const std::string& base)
{
    std::string path;
    size_t start = base.front() == '/' ? 1 : 0;
    while (start <= base.size()) {
        size_t end = base.find('/', start);
        if (end == std::string::npos) {
            end = base.size();
        }
        path = base.substr(0, end);
        if (!path.empty() && ::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

// The unpacked sizes of every entry of the central directory added up, saturated at the
// largest value; entries whose information cannot be read count as the largest value.
uint64_t DeclaredTotal(unzFile handle)
{
    constexpr uint64_t kSaturated = UINT64_MAX;
    uint64_t total = 0;
    for (int status = unzGoToFirstFile(handle); status == UNZ_OK;
         status = unzGoToNextFile(handle)) {
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(handle, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            info.uncompressed_size > kSaturated - total) {
            return kSaturated;
        }
        total += info.uncompressed_size;
    }
    return total;
}

}  // namespace

ZipArchive::ZipArchive(void* handle, ZipLimits limits) : zip_(handle), limits_(limits)
{
    char folder[4096];
    base_ = ::getcwd(folder, sizeof folder) != nullptr ? folder : ".";
}

ZipArchive::~ZipArchive()
{
    if (zip_ != nullptr) {
        Close();
    }
}

std::unique_ptr<ZipArchive> ZipArchive::Open(const std::wstring& path, ZipLimits limits)
{
    const std::string file = text::WideToUtf8(path);
    unzFile handle = unzOpen64(file.c_str());
    if (handle == nullptr) {
        Remember(kOpenFailed);
        return nullptr;
    }
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(handle, &global) != UNZ_OK) {
        unzClose(handle);
        Remember(kOpenFailed);
        return nullptr;
    }
    std::unique_ptr<ZipArchive> archive(new ZipArchive(handle, limits));
    archive->count_ = static_cast<int>(global.number_entry);
    archive->declaredTotal_ = DeclaredTotal(handle);
    Remember(kOk);
    return archive;
}

int ZipArchive::LastResult() { return g_lastResult.load(); }

int ZipArchive::SetBaseDirectory(const std::wstring& path)
{
    base_ = text::WideToUtf8(path);
    while (base_.size() > 1 && (base_.back() == '/' || base_.back() == '\\')) {
        base_.pop_back();
    }
    return Remember(kOk);
}

int ZipArchive::Close()
{
    if (zip_ == nullptr) {
        return Remember(kBadArgument);
    }
    unzCloseCurrentFile(zip_);
    unzClose(zip_);
    zip_ = nullptr;
    return kOk;  // the last result keeps what the last entry gave
}

int ZipArchive::MoveTo(int index, ZipEntry& entry)
{
    if (zip_ == nullptr || index < 0 || index >= count_) {
        return kBadArgument;
    }
    if (position_ < 0 || index < position_) {
        if (unzGoToFirstFile(zip_) != UNZ_OK) {
            return kHeaderFailed;
        }
        position_ = 0;
    }
    while (position_ < index) {
        if (unzGoToNextFile(zip_) != UNZ_OK) {
            position_ = -1;
            return kHeaderFailed;
        }
        ++position_;
    }
    unz_file_info64 info{};
    std::vector<char> name(kNameBufferSize + 1, '\0');
    std::vector<unsigned char> extra(kExtraBufferSize);
    if (unzGetCurrentFileInfo64(zip_, &info, name.data(), kNameBufferSize, extra.data(),
                                kExtraBufferSize, nullptr, 0) != UNZ_OK) {
        return kHeaderFailed;
    }
    if (info.size_filename > kNameBufferSize) {
        return kHeaderFailed;
    }
    entry = ZipEntry{};
    entry.index = index;
    entry.name = DecodeName(name.data(), info.flag);
    entry.encrypted = (info.flag & kFlagEncrypted) != 0;
    entry.compressedSize = info.compressed_size;
    entry.uncompressedSize = info.uncompressed_size;
    const unsigned host = static_cast<unsigned>(info.version >> 8) & 0xFF;
    const unsigned external = static_cast<unsigned>(info.external_fa);
    if (IsDosHost(host)) {
        entry.attributes = external & (kAttrDosMask | kAttrDirectory | kAttrArchive);
    } else {
        const unsigned mode = external >> 16;
        entry.mode = mode & 07777;
        entry.symlink = S_ISLNK(mode);
        entry.attributes = kAttrArchive;
        if ((external & kUnixDirectoryBit) != 0) {
            entry.attributes |= kAttrDirectory;
        }
        if ((external & kUnixOwnerWriteBit) == 0) {
            entry.attributes |= kAttrReadOnly;
        }
    }
    if (!entry.name.empty() && (entry.name.back() == L'/' || entry.name.back() == L'\\')) {
        entry.attributes |= kAttrDirectory;
    }
    entry.modified = DosTime(info.tmu_date);
    ReadExtendedTime(extra.data(), std::min<size_t>(info.size_file_extra, kExtraBufferSize),
                     entry.modified);
    return kOk;
}

int ZipArchive::GetEntry(int index, ZipEntry& entry)
{
    if (zip_ == nullptr || index < -1 || index >= count_) {
        return Remember(kBadArgument);
    }
    if (index == -1) {
        entry = ZipEntry{};
        entry.index = count_;
        return Remember(kOk);
    }
    if (cached_.index == index) {
        entry = cached_;
        return Remember(kOk);
    }
    const int code = MoveTo(index, entry);
    if (code == kOk) {
        cached_ = entry;
    }
    return Remember(code);
}

int ZipArchive::ExtractEntry(int index, const std::wstring& name)
{
    ZipEntry entry;
    if (const int code = MoveTo(index, entry); code != kOk) {
        return Remember(code);
    }
    // A bomb (one huge entry, or many entries over the same data) is refused before anything
    // is written.
    if (declaredTotal_ >= limits_.maxTotalBytes) {
        return Remember(kTooLarge);
    }
    const std::optional<std::string> relative = ConfinedEntryPath(name);
    if (!relative || entry.symlink) {
        return Remember(kUnsafeName);
    }
    if (!MakeBase(base_)) {
        return Remember(kOpenFailed);
    }
    if ((entry.attributes & kAttrDirectory) != 0) {
        return Remember(MakeFolders(base_, *relative) ? kOk : kOpenFailed);
    }
    const size_t slash = relative->rfind('/');
    if (slash != std::string::npos && !MakeFolders(base_, relative->substr(0, slash))) {
        return Remember(kOpenFailed);
    }
    if (entry.encrypted) {
        return Remember(kPassword);
    }
    if (entry.uncompressedSize >= limits_.maxEntryBytes ||
        extracted_ + entry.uncompressedSize >= limits_.maxTotalBytes) {
        return Remember(kTooLarge);
    }
    const std::string path = base_ + "/" + *relative;
    const int code = WriteEntry(entry, path);
    if (code != kOk) {
        ::unlink(path.c_str());
    }
    return Remember(code);
}

int ZipArchive::WriteEntry(const ZipEntry& entry, const std::string& path)
{
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return kOpenFailed;
    }
    if (unzOpenCurrentFile(zip_) != UNZ_OK) {
        ::close(fd);
        return kHeaderFailed;
    }
    if (!buffer_) {
        buffer_ = std::make_unique<char[]>(kCopyBufferSize);
    }
    int code = kOk;
    uint64_t written = 0;
    for (;;) {
        const int n = unzReadCurrentFile(zip_, buffer_.get(), kCopyBufferSize);
        if (n < 0) {
            code = kReadFailed;
            break;
        }
        if (n == 0) {
            break;
        }
        // The header's size is what the limits were checked against; more data is a lie.
        if (written + static_cast<uint64_t>(n) > entry.uncompressedSize ||
            extracted_ + written + static_cast<uint64_t>(n) >= limits_.maxTotalBytes) {
            code = kTooLarge;
            break;
        }
        if (::write(fd, buffer_.get(), static_cast<size_t>(n)) != n) {
            code = kWriteFailed;
            break;
        }
        written += static_cast<uint64_t>(n);
    }
    if (unzCloseCurrentFile(zip_) != UNZ_OK && code == kOk) {
        code = kReadFailed;  // CRC mismatch
    }
    if (code == kOk && written != entry.uncompressedSize) {
        code = kReadFailed;
    }
    extracted_ += written;
    if (code == kOk) {
        mode_t mode = 0644;
        if (entry.mode != 0) {
            mode = static_cast<mode_t>(entry.mode & 0755) | S_IRUSR;
        } else if ((entry.attributes & kAttrReadOnly) != 0) {
            mode = 0444;
        }
        const timespec times[2] = {{entry.modified, 0}, {entry.modified, 0}};
        ::futimens(fd, times);
        ::fchmod(fd, mode);
    }
    if (::close(fd) != 0 && code == kOk) {
        code = kWriteFailed;
    }
    return code;
}

bool UnzipAll(const std::wstring& archive, const std::wstring& target, ZipLimits limits)
{
    std::unique_ptr<ZipArchive> zip = ZipArchive::Open(archive, limits);
    if (!zip) {
        return false;
    }
    zip->SetBaseDirectory(target);
    ZipEntry count;
    zip->GetEntry(-1, count);
    int firstFailure = ZipArchive::kOk;
    for (int index = 0; index < count.index; ++index) {
        ZipEntry entry;
        int code = zip->GetEntry(index, entry);
        if (code == ZipArchive::kOk) {
            code = zip->ExtractEntry(index, entry.name);
        }
        if (firstFailure == ZipArchive::kOk) {
            firstFailure = code;
        }
    }
    zip->Close();
    // The last result names the first failure, so a caller can tell why.
    g_lastResult = firstFailure;
    return firstFailure == ZipArchive::kOk;
}
