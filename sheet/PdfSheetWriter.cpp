// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/PdfSheetWriter.h"

#include "sheet/SheetPdf.h"

PdfSheetWriter::PdfSheetWriter(QString path, QPageSize::PageSizeId paper)
    : m_path(std::move(path)), m_paper(paper)
{
}

void PdfSheetWriter::WriteSheet(const LoadingSheet& sheet)
{
    const QString why = WriteSheetPdf(sheet, m_path, m_paper);
    m_trouble = why.isEmpty() ? QString() : QStringLiteral("cannot write %1: %2").arg(m_path, why);
}
