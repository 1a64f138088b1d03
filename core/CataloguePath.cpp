// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CataloguePath.h"

QString CataloguePathFor(const QString& executablePath)
{
    // Only a "." inside the file name starts an extension, not one in a folder name.
    const qsizetype nameStart = executablePath.lastIndexOf(u'/') + 1;
    const qsizetype dot = executablePath.lastIndexOf(u'.');
    if (dot >= nameStart)
        return executablePath.left(dot) + QStringLiteral(".ini");
    return executablePath + QStringLiteral(".ini");
}
