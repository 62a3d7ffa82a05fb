#include "update/PackageDigest.h"

#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <cctype>

#include "platform/text/Utf8.h"

namespace {

constexpr size_t kDigestDigits = 64;
constexpr qint64 kReadBlock = 1 << 20;

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

std::optional<std::string> FileSha256(const std::wstring& path)
{
    QFile file(QString::fromStdWString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    while (!file.atEnd()) {
        const QByteArray block = file.read(kReadBlock);
        if (block.isEmpty() && file.error() != QFileDevice::NoError) {
            return std::nullopt;
        }
        hash.addData(block);
    }
    return hash.result().toHex().toStdString();
}
