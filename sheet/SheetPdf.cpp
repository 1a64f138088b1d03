// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetPdf.h"

#include "chart/ChartModel.h"
#include "chart/ChartPainter.h"
#include "core/Balance.h"
#include "core/NumConv.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Dots per inch of the page's coordinates.
constexpr int Resolution = 300;
// The chart's pixels are screen pixels at 96 dpi.
constexpr double ScreenDpi = 96;
constexpr double MarginMm = 15;

// Text sizes in points. The sheet's table and the summary shrink together,
// down to the smallest, when there are too many slots for the page.
constexpr double LargestText = 9.5;
constexpr double SmallestText = 5;
constexpr double TextStep = 0.5;
constexpr double TitlePoints = 16;
constexpr double HeadingPoints = 9;
constexpr double VerdictPoints = 14;
// The window's chart font, 11 pixels at 96 dpi.
constexpr double ChartPoints = 8.25;

// Heights in millimetres.
constexpr double MinChartMm = 55;
constexpr double MaxChartMm = 125;
constexpr double SignatureMm = 22;
constexpr double GapMm = 4;
constexpr double SignatureLineMm = 95;

const QColor RuleColor(90, 90, 90);
const QColor HeaderFill(232, 232, 232);

double Mm(double millimetres)
{
    return millimetres * Resolution / 25.4;
}

// Anything from outside goes on the page as one line of visible characters:
// a control character would draw nothing, or break the line.
QString Printable(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    return out;
}

QString WhenText(const QDateTime& when)
{
    if (!when.isValid())
        return QString();
    const QString text = QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd HH:mm"));
    const int offset = when.offsetFromUtc();
    if (offset == 0)
        return text + QStringLiteral(" UTC");
    const int minutes = std::abs(offset) / 60;
    return text + QStringLiteral(" UTC") + (offset < 0 ? u'-' : u'+') +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString TitleText(const LoadingSheet& sheet)
{
    QStringList makeModel;
    for (const QString& part : {sheet.make, sheet.model}) {
        if (!part.trimmed().isEmpty())
            makeModel << part.trimmed();
    }
    if (makeModel.isEmpty())
        return Printable(sheet.section);
    return Printable(makeModel.join(u' ') + QStringLiteral(" \u2014 ") + sheet.section);
}

// The verdict in capitals; on the outline, VerdictText's words name the
// limit the loading lies on.
QString VerdictWords(const EnvelopeVerdict& verdict)
{
    if (verdict.on != EnvelopeVerdict::Limit::None)
        return VerdictText(verdict).toUpper();
    switch (verdict.fit) {
    case EnvelopeVerdict::Fit::Inside:
        return QStringLiteral("WITHIN LIMITS");
    case EnvelopeVerdict::Fit::Outside:
        return QStringLiteral("OUTSIDE LIMITS");
    case EnvelopeVerdict::Fit::NoEnvelope:
        break;
    }
    return QStringLiteral("NO ENVELOPE TO JUDGE");
}

QColor VerdictColor(EnvelopeVerdict::Fit fit)
{
    switch (fit) {
    case EnvelopeVerdict::Fit::Inside:
        return QColor(0, 110, 0);
    case EnvelopeVerdict::Fit::Outside:
        return QColor(190, 0, 0);
    case EnvelopeVerdict::Fit::NoEnvelope:
        break;
    }
    return QColor(80, 80, 80);
}

// The lines under the table: totals, centre of gravity, limits and margins.
// Without a centre of gravity (no weight) its limits and margins are left out.
QStringList SummaryLines(const LoadingSheet& sheet)
{
    const LoadingJudgement& j = sheet.judgement;
    const QString weightUnit = UnitLabel(colWeight, sheet.imperial);
    const QString armUnit = UnitLabel(colPosition, sheet.imperial);
    const QString momentUnit = UnitLabel(colTorque, sheet.imperial);
    const auto inArm = [&armUnit](const std::optional<double>& value) {
        return value ? QStringLiteral(" (%1 %2)").arg(FloatToStr(*value), armUnit) : QString();
    };
    QStringList lines;
    lines << QStringLiteral("Total weight: %1 %2").arg(FloatToStr(j.end.weight), weightUnit);
    lines << QStringLiteral("Total moment: %1 %2").arg(FloatToStr(j.end.moment), momentUnit);
    lines << (j.centre
                  ? QStringLiteral("Centre of gravity: %1 %2").arg(FloatToStr(*j.centre), armUnit)
                  : QStringLiteral("Centre of gravity: none (no weight, or totals not finite)"));

    const QString at =
        QStringLiteral("Limits at %1 %2: ").arg(FloatToStr(j.end.weight), weightUnit);
    if (!std::isfinite(j.end.weight) || !std::isfinite(j.end.moment)) {
        lines << at + QStringLiteral("none, the totals are not finite");
    } else if (j.verdict.fit == EnvelopeVerdict::Fit::NoEnvelope) {
        lines << at + QStringLiteral("none, there is no usable envelope");
    } else if (j.ranges.empty()) {
        lines << at + QStringLiteral("none, the envelope does not reach this weight");
    } else {
        QStringList ranges;
        for (const LimitRange& r : j.ranges) {
            QString range = QStringLiteral("moment %1 to %2 %3")
                                .arg(FloatToStr(r.lowMoment), FloatToStr(r.highMoment), momentUnit);
            if (r.forwardCentre && r.aftCentre)
                range += QStringLiteral(", CG %1 to %2 %3")
                             .arg(FloatToStr(*r.forwardCentre), FloatToStr(*r.aftCentre), armUnit);
            ranges << range;
        }
        lines << at + ranges.join(QStringLiteral("; or "));
    }
    if (j.lowMomentMargin && j.highMomentMargin) {
        const double low = *j.lowMomentMargin;
        const double high = *j.highMomentMargin;
        QString margins =
            QStringLiteral("Margins: %1 %2%3 to the lower limit, %4 %2%5 to the upper limit")
                .arg(FloatToStr(low), momentUnit, inArm(j.forwardCentreMargin), FloatToStr(high),
                     inArm(j.aftCentreMargin));
        if (low < 0 || high < 0)
            margins += QStringLiteral(" (negative: beyond the limit)");
        lines << margins;
    }
    return lines;
}

// The fonts of one attempt at fitting the page.
struct PageFonts
{
    QFont heading;
    QFont title;
    QFont body;
    QFont bold;
    QFont italic;
    QFont verdict;
};

PageFonts FontsAt(QPaintDevice* device, double bodyPoints)
{
    QFont base(QFont(QStringLiteral("DejaVu Sans")), device);
    // The family the deps install; others stand in on a machine without it.
    base.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("FreeSans")});
    base.setStyleHint(QFont::SansSerif);
    const auto sized = [&base](double points, bool bold, bool italic = false) {
        QFont f = base;
        f.setPointSizeF(points);
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    };
    return PageFonts{sized(HeadingPoints, true),     sized(TitlePoints, true),
                     sized(bodyPoints, false),       sized(bodyPoints, true),
                     sized(bodyPoints, false, true), sized(VerdictPoints, true)};
}

// Column widths that fit `width`: each column its texts' width if they all
// fit, else the narrow columns keep theirs and the wide ones share the rest.
std::vector<double> FitColumns(std::vector<double> needs, double width)
{
    const double total = std::accumulate(needs.begin(), needs.end(), 0.0);
    if (total <= width) {
        // The item column takes the slack: names read better with room.
        needs[0] += width - total;
        return needs;
    }
    std::vector<size_t> order(needs.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return needs[a] < needs[b]; });
    double left = width;
    std::vector<double> widths(needs.size());
    for (size_t k = 0; k < order.size(); ++k) {
        const double share = left / static_cast<double>(order.size() - k);
        widths[order[k]] = std::min(needs[order[k]], share);
        left -= widths[order[k]];
    }
    return widths;
}

// Draws the whole page on `painter`, whose device is `writer`.
void DrawPage(QPainter& painter, QPdfWriter& writer, const LoadingSheet& sheet)
{
    const double width = writer.width();
    const double height = writer.height();
    const double gap = Mm(GapMm);
    const double thin = Mm(0.2);
    const double thick = Mm(0.45);

    // Title block: its fonts do not shrink.
    const PageFonts fixed = FontsAt(&writer, LargestText);
    QStringList info;
    if (const QString when = WhenText(sheet.when); !when.isEmpty())
        info << QStringLiteral("Date: ") + when;
    if (!sheet.registration.isEmpty())
        info << QStringLiteral("Registration: ") + Printable(sheet.registration);
    if (!sheet.pilot.isEmpty())
        info << QStringLiteral("Pilot: ") + Printable(sheet.pilot);
    const double headingLine = QFontMetricsF(fixed.heading).lineSpacing();
    const double titleLine = QFontMetricsF(fixed.title).lineSpacing();
    const double infoLine = QFontMetricsF(fixed.body).lineSpacing();
    const double headerHeight = headingLine + titleLine + info.size() * infoLine + gap;
    const double verdictHeight = QFontMetricsF(fixed.verdict).lineSpacing() * 1.5;

    // The table: every row of the sheet, then the totals.
    QList<std::array<QString, sheetColumns>> rows;
    for (const auto& row : sheet.rows) {
        std::array<QString, sheetColumns> cells;
        for (int c = 0; c < sheetColumns; ++c)
            cells[static_cast<size_t>(c)] = Printable(row[static_cast<size_t>(c)]);
        rows << cells;
    }
    const LoadingJudgement& judged = sheet.judgement;
    const std::array<QString, sheetColumns> totals = {
        QStringLiteral("Total"), FloatToStr(judged.end.weight), QString(),
        judged.centre ? FloatToStr(*judged.centre) : QString(), FloatToStr(judged.end.moment)};
    const QStringList summary = SummaryLines(sheet);
    QStringList warnings;
    for (const QString& warning : sheet.warnings)
        warnings << QStringLiteral("\u2022 ") + Printable(warning);
    if (warnings.isEmpty())
        warnings << QStringLiteral("None.");

    // The largest text that leaves the chart its least height; at the
    // smallest, slots and warnings that do not fit are counted instead.
    double points = LargestText;
    PageFonts fonts;
    qsizetype shownRows = rows.size();
    qsizetype shownWarnings = warnings.size();
    double rowHeight = 0;
    double summaryLine = 0;
    const auto warningsHeight = [&](qsizetype count) {
        const QFontMetricsF fm(fonts.body);
        double h = 0;
        for (qsizetype i = 0; i < count; ++i)
            h += fm.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, warnings[i]).height();
        return h;
    };
    for (;; points -= TextStep) {
        fonts = FontsAt(&writer, std::max(points, SmallestText));
        rowHeight = QFontMetricsF(fonts.body).height() * 1.45;
        summaryLine = QFontMetricsF(fonts.body).lineSpacing();
        const QFontMetricsF fm(fonts.body);
        double summaryHeight = summaryLine; // the warnings' heading
        for (const QString& line : summary)
            summaryHeight +=
                fm.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, line).height();
        const double rest = height - headerHeight - Mm(SignatureMm) - Mm(MinChartMm) -
                            verdictHeight - 4 * gap - summaryHeight;
        const double need = rowHeight * (rows.size() + 1) + warningsHeight(warnings.size());
        if (need <= rest)
            break;
        if (points <= SmallestText) {
            // The first rows (the header and the units) and the totals stay;
            // one row says how many slots are not shown.
            double room = rest - warningsHeight(std::min<qsizetype>(warnings.size(), 3));
            shownRows = std::clamp<qsizetype>(qsizetype(room / rowHeight) - 2, 2, rows.size());
            room = rest - rowHeight * (shownRows + 2);
            shownWarnings = 0;
            while (shownWarnings < warnings.size() && warningsHeight(shownWarnings + 1) <= room)
                ++shownWarnings;
            shownWarnings = std::max<qsizetype>(shownWarnings, 1);
            break;
        }
    }
    if (shownRows < rows.size()) {
        const qsizetype hidden = rows.size() - shownRows;
        rows.resize(shownRows);
        rows << std::array<QString, sheetColumns>{
            QStringLiteral("\u2026 %1 more items not shown").arg(hidden)};
    }
    if (shownWarnings < warnings.size()) {
        const qsizetype hidden = warnings.size() - shownWarnings + 1;
        warnings.resize(shownWarnings - 1);
        warnings << QStringLiteral("\u2026 %1 more warnings not shown").arg(hidden);
    }

    double y = 0;
    // Title block.
    painter.setPen(QColor(90, 90, 90));
    painter.setFont(fixed.heading);
    painter.drawText(QRectF(0, y, width, headingLine), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Loading sheet"));
    y += headingLine;
    painter.setPen(Qt::black);
    painter.setFont(fixed.title);
    painter.drawText(
        QRectF(0, y, width, titleLine), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(fixed.title).elidedText(TitleText(sheet), Qt::ElideRight, width));
    y += titleLine;
    painter.setFont(fixed.body);
    for (const QString& line : info) {
        painter.drawText(QRectF(0, y, width, infoLine), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(fixed.body).elidedText(line, Qt::ElideRight, width));
        y += infoLine;
    }
    y += gap;

    // The table: header row bold on grey, units italic, totals bold.
    const double pad = Mm(1.5);
    std::vector<double> needs(sheetColumns, 0.0);
    const QFontMetricsF bodyMetrics(fonts.body);
    const QFontMetricsF boldMetrics(fonts.bold);
    const QFontMetricsF italicMetrics(fonts.italic);
    const auto rowFont = [&](qsizetype r, bool total) -> const QFont& {
        return total || r == 0 ? fonts.bold : r == 1 ? fonts.italic : fonts.body;
    };
    const auto rowMetrics = [&](qsizetype r, bool total) -> const QFontMetricsF& {
        return total || r == 0 ? boldMetrics : r == 1 ? italicMetrics : bodyMetrics;
    };
    for (qsizetype r = 0; r <= rows.size(); ++r) {
        const bool total = r == rows.size();
        const auto& cells = total ? totals : rows[r];
        for (size_t c = 0; c < sheetColumns; ++c) {
            // The "more items" row spans the table.
            if (!total && r >= shownRows && c == 0)
                continue;
            needs[c] =
                std::max(needs[c], rowMetrics(r, total).horizontalAdvance(cells[c]) + 2 * pad);
        }
    }
    const std::vector<double> columns = FitColumns(needs, width);
    const double tableTop = y;
    for (qsizetype r = 0; r <= rows.size(); ++r) {
        const bool total = r == rows.size();
        const auto& cells = total ? totals : rows[r];
        const QRectF rowRect(0, y, width, rowHeight);
        if (r == 0)
            painter.fillRect(rowRect, HeaderFill);
        painter.setFont(rowFont(r, total));
        painter.setPen(Qt::black);
        if (!total && r >= shownRows) {
            painter.drawText(rowRect.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             cells[0]);
        } else {
            double x = 0;
            for (size_t c = 0; c < sheetColumns; ++c) {
                const QRectF cell = QRectF(x, y, columns[c], rowHeight).adjusted(pad, 0, -pad, 0);
                const Qt::Alignment align = c == colItem ? Qt::AlignLeft : Qt::AlignRight;
                painter.drawText(
                    cell, align | Qt::AlignVCenter,
                    rowMetrics(r, total).elidedText(cells[c], Qt::ElideRight, cell.width() + 0.5));
                x += columns[c];
            }
        }
        y += rowHeight;
        // The units row and the totals are set off by heavier rules.
        const bool heavy = r == 1 || r == rows.size() - 1 || total;
        painter.setPen(QPen(RuleColor, heavy ? thick : thin));
        painter.drawLine(QPointF(0, y), QPointF(width, y));
    }
    painter.setPen(QPen(RuleColor, thin));
    double x = 0;
    for (size_t c = 0; c + 1 < sheetColumns; ++c) {
        x += columns[c];
        painter.drawLine(QPointF(x, tableTop), QPointF(x, y));
    }
    painter.setPen(QPen(RuleColor, thick));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0, tableTop, width, y - tableTop));
    y += gap;

    // Totals, centre of gravity, limits, the verdict and the warnings.
    painter.setPen(Qt::black);
    painter.setFont(fonts.body);
    for (const QString& line : summary) {
        const QRectF box =
            bodyMetrics.boundingRect(QRectF(0, y, width, 1e9), Qt::TextWordWrap, line);
        painter.drawText(QRectF(0, y, width, box.height()), Qt::TextWordWrap, line);
        y += box.height();
    }
    y += gap / 2;
    painter.setFont(fixed.verdict);
    painter.setPen(VerdictColor(judged.verdict.fit));
    painter.drawText(QRectF(0, y, width, verdictHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Verdict: ") + VerdictWords(judged.verdict));
    y += verdictHeight;
    painter.setPen(Qt::black);
    painter.setFont(fonts.bold);
    painter.drawText(QRectF(0, y, width, summaryLine), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Warnings"));
    y += summaryLine;
    painter.setFont(fonts.body);
    for (const QString& warning : warnings) {
        const QRectF box =
            bodyMetrics.boundingRect(QRectF(0, y, width, 1e9), Qt::TextWordWrap, warning);
        painter.drawText(QRectF(0, y, width, box.height()), Qt::TextWordWrap, warning);
        y += box.height();
    }
    y += gap;

    // The chart, as the window draws it, in what room is left above the
    // signature.
    const double signatureTop = height - Mm(SignatureMm);
    const double chartHeight = std::clamp(signatureTop - gap - y, 1.0, Mm(MaxChartMm));
    TArrowSeries loadPath = sheet.loadPath;
    TArrowSeries envelope = sheet.envelope;
    loadPath.SetOnChange({});
    envelope.SetOnChange({});
    loadPath.arrowWidth = LoadPathArrows.arrowWidth;
    loadPath.arrowHeight = LoadPathArrows.arrowHeight;
    loadPath.penWidth = LoadPathArrows.penWidth;
    envelope.arrowWidth = EnvelopeArrows.arrowWidth;
    envelope.arrowHeight = EnvelopeArrows.arrowHeight;
    envelope.penWidth = EnvelopeArrows.penWidth;
    ChartModel model;
    // The window's order: the load path's labels win on the bottom axis.
    model.AddSeries(&loadPath);
    model.AddSeries(&envelope);
    ChartPainter chart(model);
    QFont chartFont = fixed.body;
    chartFont.setPointSizeF(ChartPoints);
    chart.SetFont(chartFont);
    chart.SetPixelScale(Resolution / ScreenDpi);
    painter.save();
    painter.translate(0, y);
    chart.Paint(painter, QSize(qRound(width), qRound(chartHeight)));
    painter.restore();

    // The pilot in command accepts the loading by signing it.
    painter.setPen(Qt::black);
    painter.setFont(fixed.body);
    const QString sign = QStringLiteral("Pilot in command's signature:");
    const double signY = height - infoLine * 1.5;
    painter.drawText(QRectF(0, signY, width, infoLine), Qt::AlignLeft | Qt::AlignBottom, sign);
    const double lineStart = QFontMetricsF(fixed.body).horizontalAdvance(sign) + Mm(3);
    painter.setPen(QPen(Qt::black, thin));
    painter.drawLine(
        QPointF(lineStart, signY + infoLine - thin),
        QPointF(std::min(width, lineStart + Mm(SignatureLineMm)), signY + infoLine - thin));
}

} // namespace

QString WriteSheetPdf(const LoadingSheet& sheet, const QString& path, QPageSize::PageSizeId paper)
{
    // Fonts, and so the page, need the graphical application object.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QStringLiteral("a PDF can only be written by a graphical application");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();

    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(Resolution);
        writer.setCreator(QStringLiteral("Trimwise"));
        writer.setTitle(QStringLiteral("Loading sheet: ") + TitleText(sheet));
        writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Portrait,
                                         QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                                         QPageLayout::Millimeter));
        QPainter painter;
        if (painter.begin(&writer)) {
            DrawPage(painter, writer, sheet);
            painted = painter.end();
        }
    }
    if (!painted) {
        file.cancelWriting();
        return file.error() != QFileDevice::NoError ? file.errorString()
                                                    : QStringLiteral("the page could not be drawn");
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}
