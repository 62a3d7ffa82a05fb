#include "platform/os/XdgPaths.h"

#include <sys/stat.h>
#include <unistd.h>
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

std::string HomeFolder()
{
    std::string home = AbsoluteEnv("HOME");
    return home.empty() ? std::string("/tmp") : home;
}

}  // namespace

std::string ConfigHome()
{
    const std::string dir = AbsoluteEnv("XDG_CONFIG_HOME");
    return dir.empty() ? HomeFolder() + "/.config" : dir;
}

std::string DataHome()
{
    const std::string dir = AbsoluteEnv("XDG_DATA_HOME");
    return dir.empty() ? HomeFolder() + "/.local/share" : dir;
}

std::string RuntimeDir()
{
    const std::string dir = AbsoluteEnv("XDG_RUNTIME_DIR");
    if (!dir.empty()) {
        return dir;
    }
    const std::string fallback = "/tmp/tolvenic-runtime-" + std::to_string(getuid());
    mkdir(fallback.c_str(), 0700);
    return fallback;
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
