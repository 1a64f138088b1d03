// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetStatus.h"

#include "cli/CommandOutput.h"

int SheetStatus(const LoadingSheet& sheet)
{
    // Every condition and the ways between them, the loading as entered
    // among them; a saved loading made with the aircraft's changed data is
    // not the sheet that was saved.
    const bool changedData = !sheet.dataChanges.isEmpty() && !sheet.fromSavedData;
    return sheet.judgement.WithinLimits() && sheet.flight.WithinLimits() &&
                   sheet.warnings.isEmpty() && !changedData
               ? CommandOutput::ExitOk
               : CommandOutput::ExitFindings;
}
