// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DefaultCatalogue.h"

#include "core/CataloguePath.h"

#include <QDir>
#include <QFileInfo>

QString DefaultCataloguePath(const QString& binDir, const QString& appDirFromBinDir,
                             const QString& program, const QString& naming, QString& why)
{
    const QStringList programs = {
        binDir + QStringLiteral("/TRX"),
        QDir::cleanPath(binDir + u'/' + appDirFromBinDir + QStringLiteral("/TRX")),
    };
    for (const QString& trx : programs)
        if (QFileInfo(trx).isFile())
            return CataloguePathFor(trx);
    // One substitution for all: a "%" in a folder's name stays as it is.
    why = QStringLiteral("no TRX beside %1 (%2) nor in %3: name the catalogue %4")
              .arg(program, binDir, QFileInfo(programs.last()).absolutePath(), naming);
    return QString();
}
