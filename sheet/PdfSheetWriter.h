// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sheet/SheetWriter.h"

#include <QPageSize>
#include <QString>

// The loading sheet as one PDF page (WriteSheetPdf), in the PDF module: the
// page is written whole or not at all. No sheet, no page: a failure or the
// aircraft list leaves the file as it was.
class PdfSheetWriter : public SheetWriter
{
public:
    PdfSheetWriter(QString path, QPageSize::PageSizeId paper);

    void WriteSheet(const LoadingSheet& sheet) override;
    void WriteFailure(const SheetFailure&) override {}
    void WriteAircraftList(const QStringList&) override {}
    // "cannot write PATH: why" when the page could not be written.
    QString Trouble() const override { return m_trouble; }

private:
    QString m_path;
    QPageSize::PageSizeId m_paper;
    QString m_trouble;
};
