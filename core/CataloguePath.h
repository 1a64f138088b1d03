// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The catalogue beside the executable: the executable's path with its
// extension replaced by ".ini", or ".ini" appended when the file name has none.
QString CataloguePathFor(const QString& executablePath);

// The catalogue a command-line program reads when none is named: that of the
// TRX in `binDir` (the program's own folder, a build's bin folder), else that
// of the installed TRX in `appDirFromBinDir` (relative to `binDir`). Empty
// when there is neither; `looked` then holds the two folders looked in.
QString DefaultCataloguePath(const QString& binDir, const QString& appDirFromBinDir,
                             QStringList* looked = nullptr);
