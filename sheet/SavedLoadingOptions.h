// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "loading/SavedLoading.h"
#include "sheet/SheetOptions.h"

#include <QList>
#include <QString>

// A saved loading and a command line, one into the other.

// The command line that makes the saved loading's sheet again, with what
// `given` adds: its changes, taxi and burn after the saved ones, its texts in
// place of the saved ones. Everything else (output, catalogue) is `given`'s.
SheetOptions WithSavedLoading(const SavedLoading& saved, const SheetOptions& given);

// The loading `options` make for `aircraft` whose catalogue entry is `data`,
// made now, with the decimal separator in use.
SavedLoading SavedLoadingOf(const SheetOptions& options, const QString& aircraft,
                            const QList<IniEntry>& data);
