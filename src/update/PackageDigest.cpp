#include "update/PackageDigest.h"

#include <cctype>

#include "platform/os/FileSha256.h"
#include "platform/text/Utf8.h"
#include "update/UpdateDownloader.h"

namespace {

constexpr size_t kDigestDigits = 64;
constexpr long kStatusNotFound = 404;

}  // namespace

std::optional<std::string> ParsePublishedDigest(const std::wstring& published)
{
    std::string digest = text::WideToUtf8(published);
    size_t first = 0;
    while (first < digest.size() && std::isspace(static_cast<unsigned char>(digest[first]))) {
        ++first;
    }
    digest.erase(0, first);
    if (digest.size() < kDigestDigits) {
        return std::nullopt;
    }
    if (digest.size() > kDigestDigits &&
        !std::isspace(static_cast<unsigned char>(digest[kDigestDigits]))) {
        return std::nullopt;
    }
    digest.resize(kDigestDigits);
    for (char& c : digest) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return digest;
}

bool PackageMatchesDigest(const std::wstring& address, const std::wstring& package)
{
    UpdateDownloader downloader;
    std::wstring published;
    if (downloader.FetchText(address + L".sha256", published) != UpdateDownloader::kComplete) {
        return downloader.LastStatus() == kStatusNotFound;
    }
    const std::optional<std::string> expected = ParsePublishedDigest(published);
    const std::optional<std::string> actual = os::FileSha256(package);
    return expected && actual && *expected == *actual;
}
