// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/SheetWriter.h"

// The loading sheet as text for a terminal: the aircraft, the rows with every
// cell's text as the window shows it, the totals, the centre of gravity, the
// envelope at the total weight, the verdict and the warnings; the aircraft
// list one name a line. Numbers are written by FloatToStr, with the user's
// decimal separator; every text from the catalogue or the command line is
// escaped by TerminalText. UTF-8. A failure is only the message on standard
// error.
class TextSheetWriter : public SheetWriter
{
public:
    // `out` takes the results, `message` the failure's message.
    TextSheetWriter(Output out, Output message);

    void WriteSheet(const LoadingSheet& sheet) override;
    void WriteFailure(const SheetFailure& failure) override;
    void WriteAircraftList(const QStringList& names) override;

private:
    Output m_out;
    Output m_message;
};
