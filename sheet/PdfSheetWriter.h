// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/SheetWriter.h"

#include <QPageSize>
#include <QString>

// The loading sheet as a PDF (WriteSheetPdf), in the PDF module: the
// document is written whole or not at all. No sheet, no document: a failure
// or the aircraft list leaves the file as it was.
class PdfSheetWriter : public SheetWriter
{
public:
    // `path` "-" is standard output: the document is made in memory, then
    // handed to `out` whole.
    PdfSheetWriter(QString path, QPageSize::PageSizeId paper, Output out);

    void WriteSheet(const LoadingSheet& sheet) override;
    void WriteFailure(const SheetFailure&) override {}
    void WriteAircraftList(const QStringList&) override {}
    // "cannot write PATH: why" when the document could not be written.
    QString Trouble() const override { return m_trouble; }

private:
    QString m_path;
    QPageSize::PageSizeId m_paper;
    Output m_out;
    QString m_trouble;
};
