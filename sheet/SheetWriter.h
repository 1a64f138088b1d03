// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/LoadingSheet.h"
#include "sheet/SheetFailure.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// What trx-sheet writes for one run, in one format: the sheet worked out, or
// why there is none, or the selector's names. The figures and the verdict
// come worked out in the sheet's judgement; a writer only formats them. One
// writer a format: text and JSON on standard output (TextSheetWriter,
// JsonSheetWriter), the page in the PDF module (PdfSheetWriter).
class SheetWriter
{
public:
    // Where a writer's bytes go: standard output or error, or a test's buffer.
    using Output = std::function<void(const QByteArray& bytes)>;

    virtual ~SheetWriter() = default;

    virtual void WriteSheet(const LoadingSheet& sheet) = 0;
    virtual void WriteFailure(const SheetFailure& failure) = 0;
    virtual void WriteAircraftList(const QStringList& names) = 0;
    // Why the last write did not arrive whole, without the program's name;
    // empty when it did. Standard output's own trouble shows when it is
    // closed (CommandOutput::Finish).
    virtual QString Trouble() const { return QString(); }

protected:
    // The failure's message for standard error, every text from outside
    // escaped; a wrong option points to --help.
    static QByteArray FailureMessage(const SheetFailure& failure);
};
