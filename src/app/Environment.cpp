#include "app/Environment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <mutex>

#include "platform/mui/Manager.h"
#include "platform/os/IniFile.h"
#include "platform/os/XdgPaths.h"
#include "platform/text/PathText.h"
#include "platform/text/Utf8.h"

namespace fs = std::filesystem;

namespace {

std::mutex& FolderMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::wstring& FolderOverride()
{
    static std::wstring folder;
    return folder;
}

fs::path ToPath(const std::wstring& path)
{
    return fs::path(text::WideToUtf8(text::NormalizePath(path)));
}

}  // namespace

std::wstring GetModuleFolder()
{
    {
        std::lock_guard<std::mutex> lock(FolderMutex());
        if (!FolderOverride().empty()) {
            return FolderOverride();
        }
    }
    const fs::path exe(os::ExecutablePath());
    fs::path programFolder = exe.parent_path();
    // Installed (cmake --install): the program in <prefix>/bin, its files in
    // <prefix>/share/tolvenic. A build tree keeps them beside the program.
    std::error_code ec;
    const fs::path installed = programFolder.parent_path() / "share" / "tolvenic";
    if (!fs::exists(programFolder / "config.xml", ec) && fs::exists(installed / "config.xml", ec)) {
        programFolder = installed;
    }
    std::wstring folder = text::Utf8ToWide(programFolder.string());
    if (folder.empty() || folder.back() != L'/') {
        folder += L'/';
    }
    return folder;
}

std::wstring GetProgramFolder()
{
    std::wstring folder = text::Utf8ToWide(fs::path(os::ExecutablePath()).parent_path().string());
    if (folder.empty() || folder.back() != L'/') {
        folder += L'/';
    }
    return folder;
}

std::string GetModuleFolderA()
{
    std::string folder = text::WideToUtf8(GetModuleFolder());
    if (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

void SetModuleFolder(const std::wstring& folder)
{
    std::wstring normal = text::NormalizePath(folder);
    if (!normal.empty() && normal.back() != L'/') {
        normal += L'/';
    }
    std::lock_guard<std::mutex> lock(FolderMutex());
    FolderOverride() = normal;
}

std::wstring GetDataFolder()
{
    const std::string home = os::DataHome();
    if (home.empty()) {
        return {};
    }
    const std::wstring name = text::Utf8ToWide(os::SafeFileName(MUI::Manager::GetDeviceName()));
    return text::Utf8ToWide(home) + L"/" + name + L" Files/";
}

bool CreateDirectoryTree(const std::wstring& path)
{
    const fs::path folder = ToPath(path);
    if (folder.empty()) {
        return false;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

bool CreatePrivateFolder(const std::wstring& path)
{
    fs::path folder = ToPath(path);
    // "a/b/" names b itself: a trailing slash would make the kernel follow a link named b.
    if (!folder.has_filename()) {
        folder = folder.parent_path();
    }
    if (folder.empty() || !CreateDirectoryTree(text::Utf8ToWide(folder.parent_path().string()))) {
        return false;
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    // Opened without following a link: a link standing for the folder (to a folder the user
    // keeps elsewhere, perhaps shared) is left as it is, and its target's mode is not touched.
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // Also a folder made by an earlier version, or under another umask, is closed to others.
    struct stat st {};
    const bool made = fchmod(fd, 0700) == 0 && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) &&
                      (st.st_mode & 07777) == 0700;
    close(fd);
    return made;
}

bool DeleteFolder(const std::wstring& path)
{
    const fs::path target = ToPath(path);
    std::error_code ec;
    if (target.empty() || target == target.root_path() ||
        fs::weakly_canonical(target, ec) == target.root_path()) {
        return false;
    }
    if (!fs::exists(fs::symlink_status(target, ec))) {
        return false;
    }
    fs::remove_all(target, ec);
    return !fs::exists(fs::symlink_status(target, ec));
}

std::wstring GetIniString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& file)
{
    return os::ReadIniString(text::WideToUtf8(text::NormalizePath(file)), section, key);
}
