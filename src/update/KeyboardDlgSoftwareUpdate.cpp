// The software update: the package is downloaded, checked against the digest the service
// publishes beside it, unpacked, and its installer is left to run once the program has shut
// down. A program the user did not install (a distribution's package) is not replaced: the
// download page is opened instead.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/Environment.h"
#include "app/KeyboardDlg.h"
#include "platform/mui/UiThread.h"
#include "platform/os/ShellOpen.h"
#include "platform/text/Utf8.h"
#include "update/PackageDigest.h"
#include "update/SelfInstall.h"
#include "update/UpdateNotify.h"
#include "update/ZipArchive.h"

namespace {

namespace fs = std::filesystem;

// A regular file (not a link) that the user may run.
bool IsRunnableFile(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The user said yes: a package that is not installed is told, with the reason.
void TellRefused(KeyboardDlg& dlg, SoftwareRefusal reason)
{
    dlg.PostMessage(WM_UPDATE_NOTIFY, kNotifySoftwareRefused, reason);
}

}  // namespace

void KeyboardDlg::DownloadSoftwareUpdate()
{
    std::wstring version;
    {
        std::lock_guard lock(updates.mutex);
        version = updates.softwareServerVersion;  // checked digits and dots
    }
    if (version.empty()) {
        return;
    }
    const std::optional<std::string> prefix = InstallPrefix(GetModuleFolder());
    if (!prefix || !IsUserInstall(*prefix)) {
        MUI::PostToUiThread([] { os::ShellOpen(MainLink::kDownloadsPage); });
        return;
    }

    const std::wstring name = L"Tolvenic-Driver-" + version;
    const std::wstring address = info.softwareUpdateBase + name + L".zip";
    const std::wstring temp = GetDataFolder() + L"temp/";
    CreateDirectoryTree(temp);
    const std::wstring package = temp + name + L".zip";
    const int result = updates.downloader.DownloadFile(
        address, package, [this](int percent) { PostMessage(WM_TRAY_NOTIFY, 0, percent); });
    if (result == UpdateDownloader::kCancelled) {
        return;  // the program is ending
    }
    if (result != UpdateDownloader::kComplete) {
        const bool answered = updates.downloader.LastStatus() != 0;
        TellRefused(*this, answered ? kSoftwareNotDownloaded : kSoftwareUnreachable);
        return;
    }
    const bool trusted = PackageMatchesDigest(address, package);
    // A fresh folder per version: nothing left from an earlier package runs.
    const std::wstring unpacked = temp + name;
    DeleteFolder(unpacked);
    const bool complete = trusted && UnzipAll(package, unpacked);
    std::error_code ec;
    fs::remove(text::WideToUtf8(package), ec);
    const std::string installer = text::WideToUtf8(unpacked + L"/" + name);
    if (!complete || !IsRunnableFile(installer)) {
        DeleteFolder(unpacked);
        TellRefused(*this, !trusted    ? kSoftwareBadDigest
                           : !complete ? kSoftwareUnsafePackage
                                       : kSoftwareNoInstaller);
        return;
    }
    SetPendingInstaller(installer, *prefix);
    // The program ends the orderly way (window closed, worker stopped), then the installer runs.
    DoOK();
}
