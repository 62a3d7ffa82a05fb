#include "app/LanguageTexts.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

#include "platform/os/IniFile.h"

namespace {

const unsigned char kBuiltInEnglish[] = {
#include "BuiltInEnglish.inc"
};

const os::IniFile& BuiltInFile()
{
    static const os::IniFile file = os::IniFile::Parse(
        std::string_view(reinterpret_cast<const char*>(kBuiltInEnglish), sizeof kBuiltInEnglish));
    return file;
}

// What tells a changed file from the one read.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp& other) const
    {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct CachedFile {
    FileStamp stamp;
    std::shared_ptr<const os::IniFile> texts;  // null: the file cannot be used
};

std::mutex& CacheMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, CachedFile>& Cache()
{
    static std::map<std::string, CachedFile> cache;
    return cache;
}

void TellOnce(const std::string& path, const std::string& why)
{
    static std::set<std::string> told;
    if (told.insert(path + '\n' + why).second) {
        std::fprintf(stderr, "%s %s: using the built-in English texts\n", path.c_str(),
                     why.c_str());
    }
}

// The file's texts, read when not read before or changed since; null when it cannot be used.
// Under CacheMutex.
std::shared_ptr<const os::IniFile> TextsOf(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        TellOnce(path, "is missing");
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        TellOnce(path, "is no regular file");
        return nullptr;
    }
    if (static_cast<std::uintmax_t>(st.st_size) > LanguageTexts::kMaxFileBytes) {
        TellOnce(path,
                 "is longer than " + std::to_string(LanguageTexts::kMaxFileBytes >> 20) + " MiB");
        return nullptr;
    }
    const FileStamp stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
    CachedFile& cached = Cache()[path];
    if (cached.texts && cached.stamp == stamp) {
        return cached.texts;
    }
    std::optional<os::IniFile> file = os::IniFile::Read(path, LanguageTexts::kMaxFileBytes);
    if (!file) {
        TellOnce(path, "cannot be read");
        Cache().erase(path);
        return nullptr;
    }
    cached.stamp = stamp;
    cached.texts = std::make_shared<const os::IniFile>(std::move(*file));
    return cached.texts;
}

}  // namespace

std::wstring LanguageTexts::Lookup(const std::string& path, const std::wstring& section,
                                   const std::wstring& key)
{
    std::shared_ptr<const os::IniFile> texts;
    {
        std::lock_guard lock(CacheMutex());
        texts = TextsOf(path);
    }
    // A text the file lacks or leaves empty is told in English rather than not at all.
    std::wstring value = texts ? texts->Value(section, key) : std::wstring();
    return value.empty() ? BuiltIn(section, key) : value;
}

std::wstring LanguageTexts::BuiltIn(const std::wstring& section, const std::wstring& key)
{
    return BuiltInFile().Value(section, key);
}

bool LanguageTexts::GivesNoText(const std::string& path)
{
    std::shared_ptr<const os::IniFile> texts;
    {
        std::lock_guard lock(CacheMutex());
        texts = TextsOf(path);
    }
    return texts && texts->Value(L"CAPTION", L"1").empty() &&
           texts->Value(L"KB.DIALOG", L"1").empty();
}
