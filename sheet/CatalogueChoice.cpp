// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/CatalogueChoice.h"

#include "cli/DefaultCatalogue.h"
#include "core/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

QByteArray ChooseCatalogue(const QByteArray& named, const QString& appDirFromBinDir,
                           SheetFailure& failure)
{
    QByteArray path = named;
    if (path.isEmpty()) {
        QString why;
        const QString found = DefaultCataloguePath(QCoreApplication::applicationDirPath(),
                                                   appDirFromBinDir, QStringLiteral("trx-sheet"),
                                                   QStringLiteral("with --catalogue FILE"), why);
        if (found.isEmpty()) {
            failure = MakeSheetFailure(SheetFailureKind::Catalogue, why);
            return QByteArray();
        }
        path = QFile::encodeName(found);
    }
    // The reader opens a file by a name in Unicode: a name that is not UTF-8
    // would reach another file, or none.
    if (QFile::encodeName(QFile::decodeName(path)) != path) {
        failure = MakeSheetFailure(SheetFailureKind::Catalogue,
                                   QStringLiteral("cannot read %1: the file's name is not UTF-8")
                                       .arg(QFile::decodeName(path)));
        return QByteArray();
    }
    // The reader takes a file it cannot read for an empty one; the command
    // says so instead.
    RegularFile file(path);
    char byte = 0;
    if (!file.IsOpen() || file.Read(&byte, 1) < 0) {
        failure = MakeSheetFailure(
            SheetFailureKind::Catalogue,
            QStringLiteral("cannot read %1: %2").arg(QFile::decodeName(path), file.ErrorText()));
        return QByteArray();
    }
    return path;
}
