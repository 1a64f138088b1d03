// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SaveLoading.h"

#include "loading/LoadingFile.h"

#include <QFile>
#include <QSaveFile>

QString SaveLoading(const QByteArray& path, const SavedLoading& loading)
{
    const QByteArray bytes = LoadingFileBytes(loading);
    if (bytes.size() > MaxLoadingFileBytes)
        return QStringLiteral("the loading takes %1 bytes; a loading file holds at most %2")
            .arg(bytes.size())
            .arg(MaxLoadingFileBytes);
    const LoadingRead back = ReadLoadingBytes(bytes);
    if (!back.Usable())
        return QStringLiteral("the loading cannot be saved as it would not be read back: ") +
               back.why;
    if (!(back.loading == loading))
        return QStringLiteral("the loading cannot be saved as it would read back otherwise");
    QSaveFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return QString();
}
