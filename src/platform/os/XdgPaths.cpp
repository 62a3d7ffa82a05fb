#include "platform/os/XdgPaths.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/text/Utf8.h"

namespace os {
namespace {

// Only absolute values count: the XDG rules say relative ones are to be ignored.
std::string AbsoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    std::string path(value);
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// Empty without $HOME: the files of one user never go to a folder that others share.
std::string HomeFolder() { return AbsoluteEnv("HOME"); }

std::string Under(const std::string& base, const char* rest)
{
    return base.empty() ? std::string() : base + rest;
}

// Under $TMPDIR, else /tmp: a folder every user may write in.
std::string RuntimeFallback()
{
    const std::string temp = AbsoluteEnv("TMPDIR");
    return (temp.empty() ? std::string("/tmp") : temp) + "/tolvenic-runtime-" +
           std::to_string(getuid());
}

// Why the folder may not hold this user's lock and socket; empty when it may.
std::string PrivateFolderProblem(const std::string& folder)
{
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) {
        return folder + " cannot be made";
    }
    if (!S_ISDIR(st.st_mode)) {
        return folder + " is not a folder";
    }
    if (st.st_uid != getuid()) {
        return folder + " belongs to another user (uid " + std::to_string(st.st_uid) + ")";
    }
    if ((st.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        return folder + " may be used by other users (mode " + mode + ", not 0700)";
    }
    return {};
}

// The stand-in for an unset $XDG_RUNTIME_DIR, made when missing; its problem when unsafe.
std::string CheckedRuntimeFallback()
{
    const std::string folder = RuntimeFallback();
    mkdir(folder.c_str(), 0700);
    return PrivateFolderProblem(folder);
}

}  // namespace

std::string ConfigHome()
{
    const std::string dir = AbsoluteEnv("XDG_CONFIG_HOME");
    return dir.empty() ? Under(HomeFolder(), "/.config") : dir;
}

std::string DataHome()
{
    const std::string dir = AbsoluteEnv("XDG_DATA_HOME");
    return dir.empty() ? Under(HomeFolder(), "/.local/share") : dir;
}

std::string RuntimeDir()
{
    const std::string dir = AbsoluteEnv("XDG_RUNTIME_DIR");
    if (!dir.empty()) {
        return dir;
    }
    return CheckedRuntimeFallback().empty() ? RuntimeFallback() : std::string();
}

std::string UserFolderProblem(std::string* notice)
{
    if (ConfigHome().empty() || DataHome().empty()) {
        return "HOME is not set (nor XDG_CONFIG_HOME and XDG_DATA_HOME): there is no folder of "
               "this user's own for the settings";
    }
    if (!AbsoluteEnv("XDG_RUNTIME_DIR").empty()) {
        return {};
    }
    const std::string problem = CheckedRuntimeFallback();
    if (!problem.empty()) {
        return "XDG_RUNTIME_DIR is not set and " + problem;
    }
    if (notice != nullptr) {
        *notice = "XDG_RUNTIME_DIR is not set: using " + RuntimeFallback();
    }
    return {};
}

std::string ExecutablePath()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string SafeFileName(const std::wstring& name)
{
    std::wstring safe = name;
    for (wchar_t& c : safe) {
        if (c == L'/' || c == L'\\' || c < 0x20 || c == 0x7F) {
            c = L'_';
        }
    }
    if (safe.find_first_not_of(L'.') == std::wstring::npos) {
        safe = L"_";
    }
    return text::WideToUtf8(safe);
}

}  // namespace os
