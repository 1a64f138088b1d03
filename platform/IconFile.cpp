// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IconFile.h"

#include "core/Exceptions.h"
#include "core/RegularFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

namespace {
// Far more than any icon file holds.
constexpr qint64 MaxIconBytes = 64 * 1024 * 1024;

quint16 le16(const QByteArray& d, int at)
{
    return quint16(quint8(d[at])) | quint16(quint8(d[at + 1]) << 8);
}

// The images of an icon file in its order; none when Qt reads none of them.
QList<QImage> DecodeIcon(const QByteArray& data)
{
    // Start-up reads icon.ico twice, for the application and for the main
    // window: the same bytes are decoded once.
    static QByteArray lastData;
    static QList<QImage> lastImages;
    if (!lastImages.isEmpty() && data == lastData)
        return lastImages;

    QList<QImage> images;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    // The format is known. Left to detect it, the reader asks every image
    // plugin in turn, loading each one on the way to the ICO reader.
    reader.setAutoDetectImageFormat(false);
    do {
        const QImage image = reader.read();
        if (!image.isNull())
            images.append(image);
    } while (reader.jumpToNextImage());
    if (!images.isEmpty()) {
        lastData = data;
        lastImages = images;
    }
    return images;
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
    if (!file.ReadAll(data, MaxIconBytes))
        throw EFOpenError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath, file.ErrorText()));
    if (!IsIconData(data))
        throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));

    QIcon icon;
    for (const QImage& image : DecodeIcon(data))
        icon.addPixmap(QPixmap::fromImage(image));
    if (icon.isNull())
        throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
    return icon;
}
