// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/PdfSheetWriter.h"

#include "sheet/SheetPdf.h"

PdfSheetWriter::PdfSheetWriter(QString path, QPageSize::PageSizeId paper, Output out)
    : m_path(std::move(path)), m_paper(paper), m_out(std::move(out))
{
}

void PdfSheetWriter::WriteSheet(const LoadingSheet& sheet)
{
    if (m_path == QLatin1String("-")) {
        QByteArray document;
        const QString why = SheetPdfDocument(sheet, m_paper, document);
        m_trouble = why.isEmpty() ? QString() : QStringLiteral("cannot write the PDF: %1").arg(why);
        // Standard output's own trouble shows when it is closed.
        if (why.isEmpty())
            m_out(document);
        return;
    }
    const QString why = WriteSheetPdf(sheet, m_path, m_paper);
    m_trouble = why.isEmpty() ? QString() : QStringLiteral("cannot write %1: %2").arg(m_path, why);
}
