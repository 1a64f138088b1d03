// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetWriter.h"

#include "cli/TerminalText.h"

QByteArray SheetWriter::FailureMessage(const SheetFailure& failure)
{
    QByteArray text = TerminalText(failure.message).toUtf8();
    if (failure.kind == SheetFailureKind::Option)
        text += "\nTry 'trx-sheet --help' for more information.";
    return text;
}
