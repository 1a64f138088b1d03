// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "loading/SavedLoading.h"
#include "sheet/LoadingSheet.h"
#include "sheet/SheetFailure.h"
#include "sheet/SheetOptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// What one run of trx-sheet worked out, for its writers: the selector's
// names, a loading sheet, or why there is none.
struct LoadingSheetRun
{
    enum class Result
    {
        AircraftList,
        Sheet,
        Failure
    };
    Result result = Result::Failure;
    QByteArray catalogue; // the catalogue read; empty when none was
    QStringList aircraft; // AircraftList: the names, in file order
    LoadingSheet sheet;   // Sheet
    SheetFailure failure; // Failure
    // Sheet: the loading it is of, as --save writes it.
    SavedLoading loading;
};

// Reads the catalogue `options` names (else the default one, see
// ChooseCatalogue) and, for --list, lists its aircraft; else chooses the
// aircraft named and works out its sheet with the edits given. With
// --loading, starts from the saved loading instead (its aircraft, changes,
// fuel and texts, read with its decimal separator), and compares the
// aircraft's data with the saved data first. Needs the application object
// and the user's decimal separator.
LoadingSheetRun RunLoadingSheet(const SheetOptions& options, const QString& appDirFromBinDir);
