// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The catalogue beside the executable: the executable's path with its
// extension replaced by ".ini", or ".ini" appended when the file name has none.
QString CataloguePathFor(const QString& executablePath);
