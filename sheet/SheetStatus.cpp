// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetStatus.h"

#include "cli/CommandOutput.h"

int SheetStatus(const LoadingSheet& sheet)
{
    // Every condition and the ways between them, the loading as entered among them.
    return sheet.judgement.WithinLimits() && sheet.flight.WithinLimits() && sheet.warnings.isEmpty()
               ? CommandOutput::ExitOk
               : CommandOutput::ExitFindings;
}
