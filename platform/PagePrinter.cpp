// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PagePrinter.h"

#include "core/WinApi.h"
#include "platform/ModalDialog.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include <memory>

namespace {
// Point size of the header and footer text.
constexpr qreal BandFontPt = 8;
// A band is this many text lines high, so that its text keeps clear of the page.
constexpr qreal BandLines = 1.8;
} // namespace

bool PrintDocument(QPrinter& printer, const TPrintJob& job)
{
    if (!job.document)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;

    // The page is laid out as on screen and scaled onto the printer, so the
    // print matches the preview.
    const qreal sx = printer.logicalDpiX() / job.screenDpi.width();
    const qreal sy = printer.logicalDpiY() / job.screenDpi.height();

    // Printable area inside the margins, in device pixels; the painter's
    // origin is its top-left corner.
    const QRectF area(0, 0, printer.width(), printer.height());
    QFont bandFont = job.font;
    bandFont.setPointSizeF(BandFontPt);
    painter.setFont(bandFont);
    const QFontMetricsF metrics(bandFont, &printer);
    const qreal band = metrics.height() * BandLines;

    const qreal headerBand = job.header.isEmpty() ? 0 : band;
    const qreal footerBand = job.footer.isEmpty() ? 0 : band;
    const QRectF body(area.left(), area.top() + headerBand, area.width(),
                      qMax<qreal>(1, area.height() - headerBand - footerBand));

    std::unique_ptr<QTextDocument> doc(job.document->clone(job.document));
    doc->setPageSize(QSizeF(body.width() / sx, body.height() / sy));
    const int pageCount = qMax(1, doc->pageCount());
    const QSizeF pageSize = doc->pageSize();

    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1 && !printer.newPage())
            return false;

        painter.save();
        painter.translate(body.topLeft());
        painter.scale(sx, sy);
        const QRectF view(0, (page - 1) * pageSize.height(), pageSize.width(), pageSize.height());
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();

        TPageCodeContext codes = job.codes;
        codes.page = page;
        codes.pageCount = pageCount;
        auto drawLine = [&](const QString& text, const QRectF& rect, Qt::Alignment vertical) {
            const THeaderFooterLine line = ExpandPageCodes(text, codes);
            painter.setPen(Qt::black);
            painter.drawText(rect, Qt::AlignLeft | vertical, line.left);
            painter.drawText(rect, Qt::AlignHCenter | vertical, line.centre);
            painter.drawText(rect, Qt::AlignRight | vertical, line.right);
        };
        if (headerBand > 0)
            drawLine(job.header, QRectF(area.left(), area.top(), area.width(), headerBand),
                     Qt::AlignTop);
        if (footerBand > 0)
            drawLine(job.footer,
                     QRectF(area.left(), area.bottom() - footerBand, area.width(), footerBand),
                     Qt::AlignBottom);
    }
    return painter.end();
}

int PrintWithDialog(const TPrintJob& job, QWidget* owner, bool prompt)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(job.pageLayout);
    printer.setDocName(job.codes.title);
    if (prompt) {
        QPrintDialog dialog(&printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        if (RunModal(dialog) != QDialog::Accepted)
            return WinApi::OLECMDERR_E_CANCELED;
    }
    return PrintDocument(printer, job) ? WinApi::S_OK : WinApi::OLECMDERR_E_CANCELED;
}
