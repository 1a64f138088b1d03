// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CataloguePath.h"

#include <QDir>
#include <QFileInfo>

QString CataloguePathFor(const QString& executablePath)
{
    // Only a "." inside the file name starts an extension, not one in a folder name.
    const qsizetype nameStart = executablePath.lastIndexOf(u'/') + 1;
    const qsizetype dot = executablePath.lastIndexOf(u'.');
    if (dot >= nameStart)
        return executablePath.left(dot) + QStringLiteral(".ini");
    return executablePath + QStringLiteral(".ini");
}

QString DefaultCataloguePath(const QString& binDir, const QString& appDirFromBinDir,
                             QStringList* looked)
{
    const QStringList programs = {
        binDir + QStringLiteral("/TRX"),
        QDir::cleanPath(binDir + u'/' + appDirFromBinDir + QStringLiteral("/TRX")),
    };
    for (const QString& program : programs)
        if (QFileInfo(program).isFile())
            return CataloguePathFor(program);
    if (looked)
        *looked = {binDir, QFileInfo(programs.last()).absolutePath()};
    return QString();
}
