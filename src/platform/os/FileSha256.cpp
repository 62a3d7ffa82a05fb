#include "platform/os/FileSha256.h"

#include <QCryptographicHash>
#include <QFile>
#include <QString>

namespace os {

namespace {

constexpr qint64 kReadBlock = 1 << 20;

}  // namespace

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

}  // namespace os
