#include "update/SelfInstall.h"

#include <spawn.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <vector>

#include "platform/text/Utf8.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kDataSubfolder = "share/tolvenic";
constexpr const char* kProgram = "bin/Tolvenic";
constexpr const char* kDistributionPrefix = "/usr";

struct Pending {
    std::mutex mutex;
    std::string installer;
    std::string prefix;
};

Pending& ThePending()
{
    static Pending pending;
    return pending;
}

}  // namespace

std::optional<std::string> InstallPrefix(const std::wstring& dataFolder)
{
    std::error_code ec;
    const fs::path data = fs::weakly_canonical(fs::path(text::WideToUtf8(dataFolder)), ec);
    if (ec) {
        return std::nullopt;
    }
    const fs::path prefix = data.parent_path().parent_path();
    if (data != prefix / kDataSubfolder || !fs::is_regular_file(prefix / kProgram, ec)) {
        return std::nullopt;
    }
    return prefix.string();
}

bool IsUserInstall(const std::string& prefix)
{
    if (fs::path(prefix) == fs::path(kDistributionPrefix)) {
        return false;
    }
    const fs::path root(prefix);
    return ::access((root / "bin").c_str(), W_OK) == 0 &&
           ::access((root / kDataSubfolder).c_str(), W_OK) == 0;
}

void SetPendingInstaller(const std::string& installer, const std::string& prefix)
{
    Pending& pending = ThePending();
    std::lock_guard lock(pending.mutex);
    pending.installer = installer;
    pending.prefix = prefix;
}

bool HasPendingInstaller()
{
    Pending& pending = ThePending();
    std::lock_guard lock(pending.mutex);
    return !pending.installer.empty();
}

bool RunPendingInstaller()
{
    std::string installer;
    std::string prefix;
    {
        Pending& pending = ThePending();
        std::lock_guard lock(pending.mutex);
        installer.swap(pending.installer);
        prefix.swap(pending.prefix);
    }
    if (installer.empty()) {
        return false;
    }
    const std::string folder = fs::path(installer).parent_path().string();
    std::string prefixOption = "--prefix";
    std::vector<char*> argv = {installer.data(), prefixOption.data(), prefix.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int result =
        posix_spawn(&pid, installer.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0;
}
