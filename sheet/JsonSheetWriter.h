// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/SheetWriter.h"

// The loading sheet as one JSON object: what the text says, with the
// verdict's limit ("on_limit"); the failure as an object with "error"
// (besides the message on standard error); the aircraft list as
// {"format_version": 1, "aircraft": [...]}. Fields come in a fixed order;
// numbers are FloatToStr's with a decimal point, null where there is none.
class JsonSheetWriter : public SheetWriter
{
public:
    // Raised when a field changes meaning or goes; new fields keep it.
    static constexpr int FormatVersion = 1;

    // `out` takes the JSON, `message` the failure's message.
    JsonSheetWriter(Output out, Output message);

    void WriteSheet(const LoadingSheet& sheet) override;
    void WriteFailure(const SheetFailure& failure) override;
    void WriteAircraftList(const QStringList& names) override;

private:
    Output m_out;
    Output m_message;
};
