// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetWriter.h"

#include "cli/TerminalText.h"
#include "sheet/SheetFigures.h"

QByteArray SheetWriter::FailureMessage(const SheetFailure& failure)
{
    QByteArray text = TerminalText(failure.message).toUtf8();
    if (failure.kind == SheetFailureKind::Option)
        text += "\nTry 'trx-sheet --help' for more information.";
    if (failure.kind == SheetFailureKind::AircraftData) {
        for (const AircraftDataChange& change : failure.dataChanges)
            text += "\n  " + TerminalText(DataChangeText(change)).toUtf8();
        text += "\nGive --use-saved for the sheet of the aircraft as saved, or --use-current "
                "for the sheet of it as the catalogue holds it now.";
    }
    return text;
}
