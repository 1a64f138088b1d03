// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetStatus.h"

#include "cli/CommandOutput.h"

int SheetStatus(const LoadingSheet& sheet)
{
    return sheet.judgement.WithinLimits() && sheet.warnings.isEmpty() ? CommandOutput::ExitOk
                                                                      : CommandOutput::ExitFindings;
}
