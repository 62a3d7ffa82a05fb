#include "platform/os/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace os {
namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes)
{
    // Without waiting: opening a pipe for reading would wait for a writer that never comes.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes) {  // grown since fstat
            close(fd);
            return std::nullopt;
        }
    }
    close(fd);
    return bytes;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes)
{
    // Unique per process and call, so writers in several threads or processes never share one.
    static std::atomic<unsigned> counter{0};
    const std::string temp =
        path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter.fetch_add(1));
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    // A replaced file keeps its permissions; a new one gets 0666 under the umask.
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        fchmod(fd, st.st_mode & 07777);
    }
    bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
    }
    return ok;
}

}  // namespace os
