// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/TextSheetWriter.h"

#include "cli/TerminalText.h"
#include "core/Balance.h"
#include "core/ReadableFigure.h"
#include "sheet/SheetFigures.h"

#include <QStringList>

#include <algorithm>

namespace {

// Columns are set apart by this many spaces.
constexpr int ColumnGap = 2;

QString Escaped(const QString& text)
{
    return TerminalText(text);
}

// Rows of cells in columns, each as wide as its widest cell.
QString TableText(const QList<QStringList>& rows)
{
    QList<qsizetype> width;
    QList<QStringList> cells;
    for (const QStringList& row : rows) {
        QStringList escaped;
        for (qsizetype c = 0; c < row.size(); ++c) {
            escaped << Escaped(row[c]);
            if (width.size() <= c)
                width << 0;
            width[c] = std::max(width[c], escaped.last().size());
        }
        cells << escaped;
    }
    QString text;
    for (const QStringList& row : std::as_const(cells)) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row[c].leftJustified(width[c] + ColumnGap) : row[c];
        // Padding after an empty last cell is no use to anyone.
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + u'\n';
    }
    return text;
}

QString RowsText(const LoadingSheet& sheet)
{
    QList<QStringList> rows;
    for (const auto& row : sheet.rows)
        rows << QStringList(row.begin(), row.end());
    return TableText(rows);
}

// The whole flight: the fuel given, each condition, and the ways between them.
QString FlightText(const LoadingSheet& sheet)
{
    QString text;
    if (!sheet.fuel.isEmpty()) {
        text += QStringLiteral("Fuel at %1:\n").arg(DensityFigure(sheet));
        for (const FuelLine& line : sheet.fuel)
            text += QStringLiteral("  ") + FuelLineText(sheet, line) + u'\n';
        text += u'\n';
    }
    QList<QStringList> rows{ConditionHeader()};
    for (const ConditionJudgement& c : sheet.flight.conditions)
        rows << ConditionCells(c, sheet.imperial);
    text += TableText(rows);
    text += WayName(sheet.flight.burn) + QStringLiteral(": ") + WayText(sheet, sheet.flight.burn) +
            u'\n';
    if (sheet.flight.HasZeroFuel())
        text += WayName(sheet.flight.toZeroFuel) + QStringLiteral(": ") +
                WayText(sheet, sheet.flight.toZeroFuel) + u'\n';
    return text;
}

// The judgement's lines: centre of gravity, envelope, verdict. Without a
// centre of gravity (no weight) its limits and margins are left out.
QString JudgementText(const LoadingJudgement& j, bool imperial)
{
    const QString weightUnit = UnitLabel(colWeight, imperial);
    const QString positionUnit = UnitLabel(colPosition, imperial);
    const QString momentUnit = UnitLabel(colTorque, imperial);
    const auto centre = [imperial](double value) { return CentreFigure(value, imperial); };
    const auto inPosition = [&](const std::optional<double>& value) {
        return value ? QStringLiteral(" (%1 %2)").arg(centre(*value), positionUnit) : QString();
    };

    QString text =
        j.centre ? QStringLiteral("Centre of gravity: %1 %2\n").arg(centre(*j.centre), positionUnit)
                 : QStringLiteral("Centre of gravity: none\n");

    const QString at =
        QStringLiteral("Envelope at %1 %2: ").arg(WeightFigure(j.end.weight), weightUnit);
    if (j.verdict.fit == EnvelopeVerdict::Fit::NoEnvelope) {
        text += QStringLiteral("Envelope: none to judge against (open, degenerate or "
                               "self-intersecting)\n");
    } else if (j.ranges.empty()) {
        text += at + QStringLiteral("none: the weight lies above or below the envelope\n");
    } else {
        QStringList ranges;
        for (const LimitRange& r : j.ranges) {
            QString range =
                QStringLiteral("moment %1 to %2 %3")
                    .arg(MomentFigure(r.lowMoment), MomentFigure(r.highMoment), momentUnit);
            if (r.forwardCentre && r.aftCentre)
                range += QStringLiteral(", centre of gravity %1 to %2 %3")
                             .arg(centre(*r.forwardCentre), centre(*r.aftCentre), positionUnit);
            ranges << range;
        }
        text += at + ranges.join(QStringLiteral("; or ")) + u'\n';
    }

    text += QStringLiteral("Verdict: ") + VerdictText(j.verdict);
    if (j.lowMomentMargin && j.highMomentMargin)
        text += QStringLiteral("; margin to the low limit %1 %2%3, to the high limit %4 %2%5")
                    .arg(MomentFigure(*j.lowMomentMargin), momentUnit,
                         inPosition(j.forwardCentreMargin), MomentFigure(*j.highMomentMargin),
                         inPosition(j.aftCentreMargin));
    return text + u'\n';
}

} // namespace

TextSheetWriter::TextSheetWriter(Output out, Output message)
    : m_out(std::move(out)), m_message(std::move(message))
{
}

void TextSheetWriter::WriteSheet(const LoadingSheet& sheet)
{
    const LoadingJudgement& j = sheet.judgement;
    QString text = QStringLiteral("Aircraft: %1 (%2 %3)\n")
                       .arg(Escaped(sheet.section), Escaped(sheet.make), Escaped(sheet.model));
    if (!sheet.registration.isNull())
        text += QStringLiteral("Registration: %1\n").arg(Escaped(sheet.registration));
    if (!sheet.pilot.isNull())
        text += QStringLiteral("Pilot: %1\n").arg(Escaped(sheet.pilot));
    if (!sheet.flightId.isNull())
        text += QStringLiteral("Flight: %1\n").arg(Escaped(sheet.flightId));
    if (!sheet.from.isNull())
        text += QStringLiteral("From: %1\n").arg(Escaped(sheet.from));
    if (!sheet.to.isNull())
        text += QStringLiteral("To: %1\n").arg(Escaped(sheet.to));
    if (!sheet.preparedBy.isNull())
        text += QStringLiteral("Prepared by: %1\n").arg(Escaped(sheet.preparedBy));
    text += QStringLiteral("Aircraft data fingerprint: %1\nLoading fingerprint: %2\n")
                .arg(ShortFingerprint(sheet.dataFingerprint),
                     ShortFingerprint(sheet.loadingFingerprint));
    if (const QString source = DataSourceText(sheet); !source.isEmpty()) {
        text += QStringLiteral("Aircraft data: ") + Escaped(source) + u'\n';
        for (const AircraftDataChange& change : sheet.dataChanges)
            text += QStringLiteral("  ") + Escaped(DataChangeText(change)) + u'\n';
    }
    text += u'\n' + RowsText(sheet) + u'\n';

    text += QStringLiteral("Total weight: %1 %2\n")
                .arg(WeightFigure(j.end.weight), UnitLabel(colWeight, sheet.imperial));
    text += QStringLiteral("Total moment: %1 %2\n")
                .arg(MomentFigure(j.end.moment), UnitLabel(colTorque, sheet.imperial));
    text += JudgementText(j, sheet.imperial) + u'\n' + FlightText(sheet) + u'\n';

    if (sheet.warnings.isEmpty())
        text += QStringLiteral("Warnings: none\n");
    else
        text += QStringLiteral("Warnings:\n");
    for (const QString& warning : sheet.warnings)
        text += QStringLiteral("  ") + Escaped(warning) + u'\n';
    m_out(text.toUtf8());
}

void TextSheetWriter::WriteFailure(const SheetFailure& failure)
{
    m_message(FailureMessage(failure));
}

void TextSheetWriter::WriteAircraftList(const QStringList& names)
{
    QByteArray text;
    for (const QString& name : names)
        text += Escaped(name).toUtf8() + '\n';
    m_out(text);
}
