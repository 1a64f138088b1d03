// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/SheetFailure.h"

#include <QByteArray>
#include <QString>

// The catalogue `named` (in the file system's bytes), else that of the TRX
// beside this program or of the installed TRX in the program folder
// `appDirFromBinDir` (relative to the program's folder). Empty with
// `failure` (kind Catalogue) when there is none, or it cannot be read. Needs
// the application object.
QByteArray ChooseCatalogue(const QByteArray& named, const QString& appDirFromBinDir,
                           SheetFailure& failure);
