// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconFile.h"

#include "Exceptions.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
quint16 le16(const QByteArray& d, int at)
{
    return quint16(quint8(d[at])) | quint16(quint8(d[at + 1]) << 8);
}
} // namespace

bool IsIconData(const QByteArray& data)
{
    if (data.size() < 6 || le16(data, 0) != 0 || le16(data, 2) != 1)
        return false;
    const int count = le16(data, 4);
    return count > 0 && data.size() >= 6 + 16 * count;
}

QIcon LoadIconFile(const QString& fileName)
{
    const QString fullPath = QFileInfo(fileName).absoluteFilePath();
    // Read through stdio so that the reason is the system's own text.
    const QByteArray local = QFile::encodeName(fullPath);
    FILE* f = std::fopen(local.constData(), "rb");
    if (!f) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath, reason));
    }
    QByteArray data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && data.size() < (64 << 20))
        data.append(buf, qsizetype(n));
    const bool readError = std::ferror(f);
    const int err = errno;
    std::fclose(f);
    if (readError) {
        const QString reason = QString::fromLocal8Bit(std::strerror(err));
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath, reason));
    }
    if (!IsIconData(data))
        throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));

    QIcon icon;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    do {
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    if (icon.isNull())
        throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
    return icon;
}
