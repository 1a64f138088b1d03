// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetPdf.h"

#include "chart/ChartModel.h"
#include "chart/ChartPainter.h"
#include "core/Balance.h"
#include "sheet/SheetFigures.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

namespace {

// Dots per inch of the page's coordinates.
constexpr int Resolution = 300;
// The chart's pixels are screen pixels at 96 dpi.
constexpr double ScreenDpi = 96;
constexpr double MarginMm = 15;

// Text sizes in points. A sheet shrinks its text, down to the smallest, to
// fit one page; one that still does not fit runs over as many pages as it
// needs, in the paged size.
constexpr double LargestText = 9.5;
constexpr double SmallestText = 7;
constexpr double PagedText = 8;
constexpr double TextStep = 0.5;
constexpr double TitlePoints = 16;
constexpr double HeadingPoints = 9;
constexpr double VerdictPoints = 13;
// The window's chart font, 11 pixels at 96 dpi.
constexpr double ChartPoints = 8.25;

// Heights and widths in millimetres.
constexpr double MinChartMm = 70;
constexpr double MaxChartMm = 125;
constexpr double GapMm = 4;
constexpr double SignRoomMm = 12; // above a signature line, to sign in
constexpr double InfoSpacingMm = 8;

const QColor RuleColor(90, 90, 90);
const QColor HeaderFill(232, 232, 232);
const QColor TakeOffColor(0, 150, 0);
const QColor LandingColor(235, 125, 0);
const QColor ZeroFuelColor(150, 0, 180);
const QColor WayColor(0, 120, 130);
const QColor LimitColor(110, 70, 20);

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

// The header's items after the title: the date always, the rest when given.
QStringList InfoItems(const LoadingSheet& sheet)
{
    QStringList items;
    if (const QString when = WhenText(sheet.when); !when.isEmpty())
        items << QStringLiteral("Date: ") + when;
    const std::pair<const char*, const QString*> given[] = {
        {"Flight: ", &sheet.flightId}, {"From: ", &sheet.from},
        {"To: ", &sheet.to},           {"Registration: ", &sheet.registration},
        {"Pilot: ", &sheet.pilot},     {"Prepared by: ", &sheet.preparedBy}};
    for (const auto& [label, text] : given) {
        if (!text->isEmpty())
            items << QLatin1String(label) + Printable(*text);
    }
    items << QStringLiteral("Aircraft data: ") + ShortFingerprint(sheet.dataFingerprint)
          << QStringLiteral("Loading: ") + ShortFingerprint(sheet.loadingFingerprint);
    if (!sheet.loadingFile.isEmpty())
        items << QStringLiteral("Loading file: ") + Printable(sheet.loadingFile);
    return items;
}

QString FitWords(EnvelopeVerdict::Fit fit)
{
    switch (fit) {
    case EnvelopeVerdict::Fit::Inside:
        return QStringLiteral("WITHIN LIMITS");
    case EnvelopeVerdict::Fit::Outside:
        return QStringLiteral("OUTSIDE LIMITS");
    case EnvelopeVerdict::Fit::NoEnvelope:
        break;
    }
    return QStringLiteral("NO ENVELOPE TO JUDGE");
}

// The verdict in capitals; on the outline, VerdictText's words name the
// limit the loading lies on.
QString VerdictWords(const EnvelopeVerdict& verdict)
{
    if (verdict.on != EnvelopeVerdict::Limit::None)
        return VerdictText(verdict).toUpper();
    return FitWords(verdict.fit);
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

// The whole flight's verdict as the judgement gives it: every condition and
// way within limits, or not; nothing to judge against without an envelope.
EnvelopeVerdict::Fit FlightFit(const FlightJudgement& flight)
{
    if (flight.WithinLimits())
        return EnvelopeVerdict::Fit::Inside;
    return flight.burn.judged ? EnvelopeVerdict::Fit::Outside : EnvelopeVerdict::Fit::NoEnvelope;
}

// The lines under the table: totals, centre of gravity, limits and margins,
// rounded as the text prints them. Without a centre of gravity (no weight)
// its limits and margins are left out.
QStringList SummaryLines(const LoadingSheet& sheet)
{
    const LoadingJudgement& j = sheet.judgement;
    const bool imperial = sheet.imperial;
    const QString weightUnit = UnitLabel(colWeight, imperial);
    const QString armUnit = UnitLabel(colPosition, imperial);
    const QString momentUnit = UnitLabel(colTorque, imperial);
    const auto inArm = [&](const std::optional<double>& value) {
        return value ? QStringLiteral(" (%1 %2)").arg(CentreFigure(*value, imperial), armUnit)
                     : QString();
    };
    QStringList lines;
    lines << QStringLiteral("Total weight: %1 %2").arg(WeightFigure(j.end.weight), weightUnit);
    lines << QStringLiteral("Total moment: %1 %2").arg(MomentFigure(j.end.moment), momentUnit);
    lines << (j.centre
                  ? QStringLiteral("Centre of gravity: %1 %2")
                        .arg(CentreFigure(*j.centre, imperial), armUnit)
                  : QStringLiteral("Centre of gravity: none (no weight, or totals not finite)"));

    const QString at =
        QStringLiteral("Limits at %1 %2: ").arg(WeightFigure(j.end.weight), weightUnit);
    if (!std::isfinite(j.end.weight) || !std::isfinite(j.end.moment)) {
        lines << at + QStringLiteral("none, the totals are not finite");
    } else if (j.verdict.fit == EnvelopeVerdict::Fit::NoEnvelope) {
        lines << at + QStringLiteral("none, there is no usable envelope");
    } else if (j.ranges.empty()) {
        lines << at + QStringLiteral("none, the envelope does not reach this weight");
    } else {
        QStringList ranges;
        for (const LimitRange& r : j.ranges) {
            QString range =
                QStringLiteral("moment %1 to %2 %3")
                    .arg(MomentFigure(r.lowMoment), MomentFigure(r.highMoment), momentUnit);
            if (r.forwardCentre && r.aftCentre)
                range += QStringLiteral(", CG %1 to %2 %3")
                             .arg(CentreFigure(*r.forwardCentre, imperial),
                                  CentreFigure(*r.aftCentre, imperial), armUnit);
            ranges << range;
        }
        lines << at + ranges.join(QStringLiteral("; or "));
    }
    if (j.lowMomentMargin && j.highMomentMargin) {
        const double low = *j.lowMomentMargin;
        const double high = *j.highMomentMargin;
        QString margins =
            QStringLiteral("Margins: %1 %2%3 to the lower limit, %4 %2%5 to the upper limit")
                .arg(MomentFigure(low), momentUnit, inArm(j.forwardCentreMargin),
                     MomentFigure(high), inArm(j.aftCentreMargin));
        if (low < 0 || high < 0)
            margins += QStringLiteral(" (negative: beyond the limit)");
        lines << margins;
    }
    return lines;
}

// The fonts of one attempt at laying the sheet out.
struct PageFonts
{
    QFont heading;
    QFont title;
    QFont body;
    QFont bold;
    QFont italic;
    QFont verdict;
    QFont chart;
};

PageFonts FontsAt(QPaintDevice* device, double bodyPoints)
{
    QFont base(QFont(QStringLiteral("DejaVu Sans")), device);
    // The family the deps install; others stand in on a machine without it.
    base.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("FreeSans")});
    base.setStyleHint(QFont::SansSerif);
    // Letter spacing, however slight, keeps the shaper from joining "fl" or
    // "ff" into one ligature glyph, which a PDF reader's search and copy read
    // as a character of its own: "Whole flight" would not be found.
    base.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
    const auto sized = [&base](double points, bool bold, bool italic = false) {
        QFont f = base;
        f.setPointSizeF(points);
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    };
    return PageFonts{sized(HeadingPoints, true),     sized(TitlePoints, true),
                     sized(bodyPoints, false),       sized(bodyPoints, true),
                     sized(bodyPoints, false, true), sized(VerdictPoints, true),
                     sized(ChartPoints, false)};
}

// Column widths that fit `width`: each column its texts' width if they all
// fit, the column `slack` taking what is left over; else the narrow columns
// keep theirs and the wide ones share the rest.
std::vector<double> FitColumns(std::vector<double> needs, double width, size_t slack)
{
    const double total = std::accumulate(needs.begin(), needs.end(), 0.0);
    if (total <= width) {
        needs[slack] += width - total;
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

// One piece of the page's flow, drawn whole on one page with its top at the
// `top` it is given.
struct Block
{
    double height = 0;
    double gapBefore = 0;   // dropped at the top of a page
    int table = -1;         // the table whose row it is
    bool tableHead = false; // a header row: it starts every page its table goes on to
    bool keepWithNext = false;
    std::function<void(QPainter&, double top)> draw;
};

struct Placed
{
    const Block* block;
    double top;
};

struct PagePlan
{
    std::vector<Placed> blocks;
    std::vector<double> tableBreaks; // where a table stops for the next page
};

// The whole sheet laid out in one text size: the header every page starts
// with, the blocks in order, then the chart and the signatures.
class SheetLayout
{
public:
    SheetLayout(const LoadingSheet& sheet, QPdfWriter& writer, double bodyPoints);

    // Places the blocks on pages; returns how many it takes.
    size_t Plan();
    void Draw(QPainter& painter, QPdfWriter& writer) const;

private:
    void AddHeaderBlock();
    void AddSheetTable();
    void AddParagraph(const QString& text, const QFont& font, double gapBefore = 0,
                      bool keepWithNext = false, double indent = 0);
    void AddVerdict(const QString& text, EnvelopeVerdict::Fit fit, double gapBefore);
    void AddConditionsTable();
    double DrawPageHeader(QPainter& painter, double top, size_t page, size_t pages) const;
    void DrawChart(QPainter& painter, double top, double height) const;
    void DrawSignatures(QPainter& painter, double top) const;

    const LoadingSheet& m_sheet;
    PageFonts m_fixed; // the header's, which never shrink
    PageFonts m_fonts;
    double m_width;
    double m_height;
    double m_gap;
    double m_thin;
    double m_thick;
    double m_pad;
    double m_headerHeight = 0;
    QStringList m_infoLines;
    double m_footHeight = 0;

    std::vector<Block> m_blocks;
    // The header rows of each table, by the blocks' `table`.
    std::vector<std::vector<size_t>> m_tableHeads;
    std::vector<std::vector<double>> m_columns;

    std::vector<PagePlan> m_pages;
    double m_chartTop = 0;
    double m_chartHeight = 0;
};

SheetLayout::SheetLayout(const LoadingSheet& sheet, QPdfWriter& writer, double bodyPoints)
    : m_sheet(sheet), m_fixed(FontsAt(&writer, LargestText)), m_fonts(FontsAt(&writer, bodyPoints)),
      m_width(writer.width()), m_height(writer.height()), m_gap(Mm(GapMm)), m_thin(Mm(0.2)),
      m_thick(Mm(0.45)), m_pad(Mm(1.5))
{
    // The header's items flow along lines: date, flight, places, people.
    const QFontMetricsF info(m_fixed.body);
    QString line;
    for (const QString& item : InfoItems(sheet)) {
        const QString elided = info.elidedText(item, Qt::ElideRight, m_width);
        const QString joined =
            line.isEmpty() ? elided : line + QStringLiteral("\u2003\u2003") + elided;
        if (!line.isEmpty() && info.horizontalAdvance(joined) > m_width) {
            m_infoLines << line;
            line = elided;
        } else {
            line = joined;
        }
    }
    if (!line.isEmpty())
        m_infoLines << line;
    m_headerHeight = QFontMetricsF(m_fixed.heading).lineSpacing() +
                     QFontMetricsF(m_fixed.title).lineSpacing() +
                     m_infoLines.size() * info.lineSpacing() + m_gap;
    m_footHeight = Mm(SignRoomMm) + info.lineSpacing() * 1.5;

    AddSheetTable();
    const QFont& body = m_fonts.body;
    bool first = true;
    for (const QString& line : SummaryLines(sheet)) {
        AddParagraph(line, body, first ? m_gap : 0);
        first = false;
    }
    const LoadingJudgement& judged = sheet.judgement;
    AddVerdict(QStringLiteral("Verdict: ") + VerdictWords(judged.verdict), judged.verdict.fit,
               m_gap / 2);
    const FlightJudgement& flight = sheet.flight;
    if (!flight.conditions.empty()) {
        const EnvelopeVerdict::Fit fit = FlightFit(flight);
        AddVerdict(QStringLiteral("Whole flight: ") + FitWords(fit), fit, 0);
        AddConditionsTable();
        AddParagraph(WayName(flight.burn) + QStringLiteral(": ") + WayText(sheet, flight.burn),
                     body, m_gap / 2);
        if (flight.HasZeroFuel())
            AddParagraph(WayName(flight.toZeroFuel) + QStringLiteral(": ") +
                             WayText(sheet, flight.toZeroFuel),
                         body);
    }
    if (!sheet.fuel.isEmpty()) {
        AddParagraph(QStringLiteral("Fuel at %1").arg(DensityFigure(sheet)), m_fonts.bold, m_gap,
                     true);
        for (const FuelLine& fuel : sheet.fuel)
            AddParagraph(Printable(FuelLineText(sheet, fuel)), body, 0, false, Mm(3));
    }
    if (QString source = DataSourceText(sheet); !source.isEmpty()) {
        AddParagraph(QStringLiteral("Aircraft data"), m_fonts.bold, m_gap, true);
        source[0] = source[0].toUpper();
        AddParagraph(Printable(source), body);
        for (const AircraftDataChange& change : sheet.dataChanges)
            AddParagraph(QStringLiteral("\u2022 ") + Printable(DataChangeText(change)), body);
    }
    AddParagraph(QStringLiteral("Warnings"), m_fonts.bold, m_gap, true);
    for (const QString& warning : sheet.warnings)
        AddParagraph(QStringLiteral("\u2022 ") + Printable(warning), body);
    if (sheet.warnings.isEmpty())
        AddParagraph(QStringLiteral("None."), body);
}

void SheetLayout::AddParagraph(const QString& text, const QFont& font, double gapBefore,
                               bool keepWithNext, double indent)
{
    const QRectF box = QFontMetricsF(font).boundingRect(QRectF(0, 0, m_width - indent, 1e9),
                                                        Qt::TextWordWrap, text);
    Block b;
    b.height = box.height();
    b.gapBefore = gapBefore;
    b.keepWithNext = keepWithNext;
    b.draw = [this, text, font, indent, height = b.height](QPainter& painter, double top) {
        painter.setPen(Qt::black);
        painter.setFont(font);
        painter.drawText(QRectF(indent, top, m_width - indent, height), Qt::TextWordWrap, text);
    };
    m_blocks.push_back(std::move(b));
}

void SheetLayout::AddVerdict(const QString& text, EnvelopeVerdict::Fit fit, double gapBefore)
{
    const QFontMetricsF metrics(m_fixed.verdict);
    Block b;
    b.height = metrics.lineSpacing() * 1.35;
    b.gapBefore = gapBefore;
    b.draw = [this, text, fit, height = b.height](QPainter& painter, double top) {
        painter.setFont(m_fixed.verdict);
        painter.setPen(VerdictColor(fit));
        painter.drawText(QRectF(0, top, m_width, height), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(m_fixed.verdict).elidedText(text, Qt::ElideRight, m_width));
    };
    m_blocks.push_back(std::move(b));
}

// The sheet's rows as the window holds them, header bold on grey, units
// italic, then the totals, rounded, in bold; heavier rules set the units and
// the totals off.
void SheetLayout::AddSheetTable()
{
    enum class Role
    {
        Head,
        Units,
        Slot,
        LastSlot,
        Total
    };
    std::vector<std::pair<std::array<QString, sheetColumns>, Role>> rows;
    for (qsizetype r = 0; r < m_sheet.rows.size(); ++r) {
        std::array<QString, sheetColumns> cells;
        for (size_t c = 0; c < sheetColumns; ++c)
            cells[c] = Printable(m_sheet.rows[r][c]);
        const Role role = r == 0                         ? Role::Head
                          : r == 1                       ? Role::Units
                          : r + 1 == m_sheet.rows.size() ? Role::LastSlot
                                                         : Role::Slot;
        rows.emplace_back(cells, role);
    }
    const LoadingJudgement& j = m_sheet.judgement;
    rows.emplace_back(
        std::array<QString, sheetColumns>{
            QStringLiteral("Total"), WeightFigure(j.end.weight), QString(),
            j.centre ? CentreFigure(*j.centre, m_sheet.imperial) : QString(),
            MomentFigure(j.end.moment)},
        Role::Total);

    const auto fontOf = [this](Role role) -> const QFont& {
        return role == Role::Head || role == Role::Total ? m_fonts.bold
               : role == Role::Units                     ? m_fonts.italic
                                                         : m_fonts.body;
    };
    std::vector<double> needs(sheetColumns, 0.0);
    for (const auto& [cells, role] : rows) {
        const QFontMetricsF metrics(fontOf(role));
        for (size_t c = 0; c < sheetColumns; ++c)
            needs[c] = std::max(needs[c], metrics.horizontalAdvance(cells[c]) + 2 * m_pad);
    }
    const int table = int(m_columns.size());
    m_columns.push_back(FitColumns(needs, m_width, colItem));
    m_tableHeads.emplace_back();
    const double rowHeight = QFontMetricsF(m_fonts.body).height() * 1.45;
    for (size_t i = 0; i < rows.size(); ++i) {
        Block b;
        b.height = rowHeight;
        b.table = table;
        b.tableHead = rows[i].second == Role::Head || rows[i].second == Role::Units;
        b.keepWithNext = b.tableHead;
        if (b.tableHead)
            m_tableHeads[size_t(table)].push_back(m_blocks.size());
        b.draw = [this, table, cells = rows[i].first, role = rows[i].second,
                  font = fontOf(rows[i].second), rowHeight](QPainter& painter, double top) {
            const std::vector<double>& columns = m_columns[size_t(table)];
            const QRectF rowRect(0, top, m_width, rowHeight);
            if (role == Role::Head)
                painter.fillRect(rowRect, HeaderFill);
            painter.setFont(font);
            painter.setPen(Qt::black);
            const QFontMetricsF metrics(font);
            double x = 0;
            for (size_t c = 0; c < sheetColumns; ++c) {
                const QRectF cell =
                    QRectF(x, top, columns[c], rowHeight).adjusted(m_pad, 0, -m_pad, 0);
                const Qt::Alignment align = c == colItem ? Qt::AlignLeft : Qt::AlignRight;
                painter.drawText(cell, align | Qt::AlignVCenter,
                                 metrics.elidedText(cells[c], Qt::ElideRight, cell.width() + 0.5));
                x += columns[c];
            }
            painter.setPen(QPen(RuleColor, m_thin));
            x = 0;
            for (size_t c = 0; c + 1 < sheetColumns; ++c) {
                x += columns[c];
                painter.drawLine(QPointF(x, top), QPointF(x, top + rowHeight));
            }
            const bool heavy = role == Role::Units || role == Role::LastSlot || role == Role::Total;
            painter.setPen(QPen(RuleColor, heavy ? m_thick : m_thin));
            painter.drawLine(QPointF(0, top + rowHeight), QPointF(m_width, top + rowHeight));
            painter.setPen(QPen(RuleColor, m_thick));
            if (role == Role::Head)
                painter.drawLine(QPointF(0, top), QPointF(m_width, top));
            painter.drawLine(QPointF(0, top), QPointF(0, top + rowHeight));
            painter.drawLine(QPointF(m_width, top), QPointF(m_width, top + rowHeight));
        };
        m_blocks.push_back(std::move(b));
    }
}

// Each condition's row, ConditionCells' words wrapped in their cells.
void SheetLayout::AddConditionsTable()
{
    QList<QStringList> rows{ConditionHeader()};
    for (const ConditionJudgement& c : m_sheet.flight.conditions)
        rows << ConditionCells(c, m_sheet.imperial);
    const qsizetype columnCount = rows.first().size();
    std::vector<double> needs(size_t(columnCount), 0.0);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QFontMetricsF metrics(r == 0 ? m_fonts.bold : m_fonts.body);
        for (qsizetype c = 0; c < columnCount; ++c)
            needs[size_t(c)] =
                std::max(needs[size_t(c)], metrics.horizontalAdvance(rows[r][c]) + 2 * m_pad);
    }
    const int table = int(m_columns.size());
    m_columns.push_back(FitColumns(needs, m_width, size_t(columnCount - 1)));
    m_tableHeads.emplace_back();
    const std::vector<double>& columns = m_columns.back();
    // The figures read down their columns; words start at the left.
    const auto align = [](qsizetype c) {
        return (c >= 1 && c <= 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter |
               Qt::TextWordWrap;
    };
    const double padY = QFontMetricsF(m_fonts.body).height() * 0.225;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QFont& font = r == 0 ? m_fonts.bold : m_fonts.body;
        const QFontMetricsF metrics(font);
        double textHeight = metrics.height();
        for (qsizetype c = 0; c < columnCount; ++c)
            textHeight = std::max(
                textHeight, metrics
                                .boundingRect(QRectF(0, 0, columns[size_t(c)] - 2 * m_pad, 1e9),
                                              align(c), rows[r][c])
                                .height());
        Block b;
        b.height = textHeight + 2 * padY;
        b.table = table;
        b.tableHead = r == 0;
        b.keepWithNext = r == 0;
        b.gapBefore = r == 0 ? m_gap / 2 : 0;
        if (b.tableHead)
            m_tableHeads[size_t(table)].push_back(m_blocks.size());
        const bool last = r + 1 == rows.size();
        b.draw = [this, table, cells = rows[r], font, align, padY, last, head = r == 0,
                  height = b.height](QPainter& painter, double top) {
            const std::vector<double>& widths = m_columns[size_t(table)];
            if (head)
                painter.fillRect(QRectF(0, top, m_width, height), HeaderFill);
            painter.setFont(font);
            painter.setPen(Qt::black);
            double x = 0;
            for (qsizetype c = 0; c < cells.size(); ++c) {
                painter.drawText(
                    QRectF(x, top, widths[size_t(c)], height).adjusted(m_pad, padY, -m_pad, -padY),
                    align(c), cells[c]);
                x += widths[size_t(c)];
            }
            painter.setPen(QPen(RuleColor, m_thin));
            x = 0;
            for (qsizetype c = 0; c + 1 < cells.size(); ++c) {
                x += widths[size_t(c)];
                painter.drawLine(QPointF(x, top), QPointF(x, top + height));
            }
            painter.setPen(QPen(RuleColor, head || last ? m_thick : m_thin));
            painter.drawLine(QPointF(0, top + height), QPointF(m_width, top + height));
            painter.setPen(QPen(RuleColor, m_thick));
            if (head)
                painter.drawLine(QPointF(0, top), QPointF(m_width, top));
            painter.drawLine(QPointF(0, top), QPointF(0, top + height));
            painter.drawLine(QPointF(m_width, top), QPointF(m_width, top + height));
        };
        m_blocks.push_back(std::move(b));
    }
}

size_t SheetLayout::Plan()
{
    m_pages.assign(1, PagePlan{});
    const double bodyTop = m_headerHeight;
    const double bodyBottom = m_height;
    double y = bodyTop;
    const auto newPage = [&] {
        m_pages.emplace_back();
        y = bodyTop;
    };
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        const Block& b = m_blocks[i];
        // A heading goes with what follows it.
        double need = b.height;
        for (size_t k = i; k + 1 < m_blocks.size() && m_blocks[k].keepWithNext; ++k)
            need += m_blocks[k + 1].gapBefore + m_blocks[k + 1].height;
        const double gap = y > bodyTop ? b.gapBefore : 0;
        if (y > bodyTop && y + gap + need > bodyBottom) {
            const std::vector<Placed>& placed = m_pages.back().blocks;
            const bool continues = b.table >= 0 && !b.tableHead && !placed.empty() &&
                                   placed.back().block->table == b.table;
            if (continues)
                m_pages.back().tableBreaks.push_back(y);
            newPage();
            if (continues) {
                for (size_t head : m_tableHeads[size_t(b.table)]) {
                    m_pages.back().blocks.push_back({&m_blocks[head], y});
                    y += m_blocks[head].height;
                }
            }
            m_pages.back().blocks.push_back({&b, y});
            y += b.height;
            continue;
        }
        m_pages.back().blocks.push_back({&b, y + gap});
        y += gap + b.height;
    }
    // The chart in what room is left above the signatures, else at the top
    // of a page of its own.
    const double chartBottom = bodyBottom - m_footHeight - m_gap;
    if (chartBottom - (y + m_gap) < Mm(MinChartMm) && y > bodyTop)
        newPage();
    m_chartTop = y > bodyTop ? y + m_gap : y;
    m_chartHeight = std::clamp(chartBottom - m_chartTop, 1.0, Mm(MaxChartMm));
    return m_pages.size();
}

double SheetLayout::DrawPageHeader(QPainter& painter, double top, size_t page, size_t pages) const
{
    const double headingLine = QFontMetricsF(m_fixed.heading).lineSpacing();
    const double titleLine = QFontMetricsF(m_fixed.title).lineSpacing();
    const QFontMetricsF info(m_fixed.body);
    double y = top;
    painter.setPen(QColor(90, 90, 90));
    painter.setFont(m_fixed.heading);
    painter.drawText(QRectF(0, y, m_width, headingLine), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Loading sheet"));
    if (pages > 1)
        painter.drawText(QRectF(0, y, m_width, headingLine), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages));
    y += headingLine;
    painter.setPen(Qt::black);
    painter.setFont(m_fixed.title);
    painter.drawText(
        QRectF(0, y, m_width, titleLine), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(m_fixed.title).elidedText(TitleText(m_sheet), Qt::ElideRight, m_width));
    y += titleLine;
    painter.setFont(m_fixed.body);
    for (const QString& line : m_infoLines) {
        painter.drawText(QRectF(0, y, m_width, info.lineSpacing()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         info.elidedText(line, Qt::ElideRight, m_width));
        y += info.lineSpacing();
    }
    return y + m_gap;
}

// The window's chart, with the flight's conditions, ways and weight limits
// marked over it.
void SheetLayout::DrawChart(QPainter& painter, double top, double height) const
{
    TArrowSeries loadPath = m_sheet.loadPath;
    TArrowSeries envelope = m_sheet.envelope;
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
    chart.SetFont(m_fixed.chart);
    chart.SetPixelScale(Resolution / ScreenDpi);

    const FlightJudgement& flight = m_sheet.flight;
    if (flight.conditions.size() >= 3) {
        ChartMarks marks;
        marks.series = {{QColor(Qt::blue), QStringLiteral("Load path")},
                        {QColor(Qt::red), QStringLiteral("Envelope")}};
        const auto at = [&flight](FlightCondition c) {
            const LoadPathEnd& end = flight.At(c).judged.end;
            return QPointF(end.moment, end.weight);
        };
        const bool zeroFuel = flight.HasZeroFuel();
        marks.ways.push_back({at(FlightCondition::TakeOff), at(FlightCondition::Landing),
                              Qt::SolidLine, WayColor, WayName(flight.burn)});
        if (zeroFuel)
            marks.ways.push_back({at(FlightCondition::Landing), at(FlightCondition::ZeroFuel),
                                  Qt::DashLine, WayColor, WayName(flight.toZeroFuel)});
        marks.points.push_back({at(FlightCondition::TakeOff), ChartMarks::Shape::Circle,
                                TakeOffColor, ConditionTitle(FlightCondition::TakeOff)});
        marks.points.push_back({at(FlightCondition::Landing), ChartMarks::Shape::Square,
                                LandingColor, ConditionTitle(FlightCondition::Landing)});
        if (zeroFuel)
            marks.points.push_back({at(FlightCondition::ZeroFuel), ChartMarks::Shape::Triangle,
                                    ZeroFuelColor, ConditionTitle(FlightCondition::ZeroFuel)});
        // One line a limit; conditions that share a limit share its line.
        std::vector<std::pair<double, QStringList>> limits;
        for (const ConditionJudgement& c : flight.conditions) {
            if (!c.weightLimit || !std::isfinite(*c.weightLimit))
                continue;
            const auto same = std::find_if(limits.begin(), limits.end(), [&](const auto& l) {
                return WeightFigure(l.first) == WeightFigure(*c.weightLimit);
            });
            if (same != limits.end())
                same->second << ConditionTitle(c.condition).toLower();
            else
                limits.push_back({*c.weightLimit, {ConditionTitle(c.condition)}});
        }
        for (const auto& [limit, names] : limits) {
            const QString who = names.size() == 1
                                    ? names.first()
                                    : names.mid(0, names.size() - 1).join(QStringLiteral(", ")) +
                                          QStringLiteral(" and ") + names.last();
            marks.levels.push_back({limit, QStringLiteral("%1 limit %2 %3")
                                               .arg(who, WeightFigure(limit),
                                                    UnitLabel(colWeight, m_sheet.imperial))});
        }
        marks.levelColor = LimitColor;
        marks.levelsName = QStringLiteral("Weight limits");
        chart.SetMarks(std::move(marks));
    }
    painter.save();
    painter.translate(0, top);
    chart.Paint(painter, QSize(qRound(m_width), qRound(height)));
    painter.restore();
}

// The pilot in command accepts the loading by signing it; whoever saw to
// the loading signs beside.
void SheetLayout::DrawSignatures(QPainter& painter, double top) const
{
    const QFontMetricsF info(m_fixed.body);
    const double column = (m_width - m_gap * 2) / 2;
    const double lineY = top + Mm(SignRoomMm);
    painter.setFont(m_fixed.body);
    const QString captions[] = {QStringLiteral("Pilot in command's signature"),
                                QStringLiteral("Loading supervisor's signature")};
    for (int i = 0; i < 2; ++i) {
        const double x = i * (column + m_gap * 2);
        painter.setPen(QPen(Qt::black, m_thin));
        painter.drawLine(QPointF(x, lineY), QPointF(x + column, lineY));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x, lineY + m_thin, column, info.lineSpacing()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         info.elidedText(captions[i], Qt::ElideRight, column));
    }
}

void SheetLayout::Draw(QPainter& painter, QPdfWriter& writer) const
{
    for (size_t page = 0; page < m_pages.size(); ++page) {
        if (page > 0)
            writer.newPage();
        DrawPageHeader(painter, 0, page, m_pages.size());
        for (const Placed& placed : m_pages[page].blocks)
            placed.block->draw(painter, placed.top);
        // A table that goes on over the page is closed by a heavier rule.
        painter.setPen(QPen(RuleColor, m_thick));
        for (double y : m_pages[page].tableBreaks)
            painter.drawLine(QPointF(0, y), QPointF(m_width, y));
    }
    DrawChart(painter, m_chartTop, m_chartHeight);
    DrawSignatures(painter, m_height - m_footHeight);
}

// Lays the sheet out in the largest text that fits one page, else over as
// many pages as it needs, and draws it.
bool PaintSheet(const LoadingSheet& sheet, QIODevice& device, QPageSize::PageSizeId paper)
{
    QPdfWriter writer(&device);
    writer.setResolution(Resolution);
    writer.setCreator(QStringLiteral("Trimwise"));
    writer.setTitle(QStringLiteral("Loading sheet: ") + TitleText(sheet));
    writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Portrait,
                                     QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                                     QPageLayout::Millimeter));
    std::unique_ptr<SheetLayout> layout;
    for (double points = LargestText; points >= SmallestText - 1e-9; points -= TextStep) {
        layout = std::make_unique<SheetLayout>(sheet, writer, points);
        if (layout->Plan() == 1)
            break;
        layout.reset();
    }
    if (!layout) {
        layout = std::make_unique<SheetLayout>(sheet, writer, PagedText);
        layout->Plan();
    }
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    layout->Draw(painter, writer);
    return painter.end();
}

QString NeedsApplication()
{
    // Fonts, and so the page, need the graphical application object.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QStringLiteral("a PDF can only be written by a graphical application");
    return QString();
}

} // namespace

QString WriteSheetPdf(const LoadingSheet& sheet, const QString& path, QPageSize::PageSizeId paper)
{
    if (const QString why = NeedsApplication(); !why.isEmpty())
        return why;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!PaintSheet(sheet, file, paper)) {
        file.cancelWriting();
        return file.error() != QFileDevice::NoError ? file.errorString()
                                                    : QStringLiteral("the page could not be drawn");
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

QString SheetPdfDocument(const LoadingSheet& sheet, QPageSize::PageSizeId paper,
                         QByteArray& document)
{
    document.clear();
    if (const QString why = NeedsApplication(); !why.isEmpty())
        return why;
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    if (!PaintSheet(sheet, buffer, paper)) {
        document.clear();
        return QStringLiteral("the page could not be drawn");
    }
    return QString();
}
