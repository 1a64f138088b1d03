// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconFile.h"

#include "Exceptions.h"
#include "RegularFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

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
    // Never waits: a FIFO or device under the name is refused, not read.
    RegularFile file(fullPath);
    QByteArray data;
    if (!file.ReadAll(data, 64 << 20))
        throw EFOpenError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath, file.ErrorText()));
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
