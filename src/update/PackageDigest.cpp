#include "update/PackageDigest.h"

#include <cctype>

#include "platform/text/Utf8.h"

namespace {

constexpr size_t kDigestDigits = 64;

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
