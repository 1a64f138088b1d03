// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/TextSheetWriter.h"

#include "cli/TerminalText.h"
#include "core/Balance.h"
#include "core/NumConv.h"

#include <QStringList>

#include <algorithm>

namespace {

// Columns are set apart by this many spaces.
constexpr int ColumnGap = 2;

QString Escaped(const QString& text)
{
    return TerminalText(text);
}

QString Number(double value)
{
    return FloatToStr(value);
}

QString RowsText(const LoadingSheet& sheet)
{
    std::array<qsizetype, sheetColumns> width{};
    QList<std::array<QString, sheetColumns>> cells;
    for (const auto& row : sheet.rows) {
        std::array<QString, sheetColumns> escaped;
        for (size_t c = 0; c < escaped.size(); ++c) {
            escaped[c] = Escaped(row[c]);
            width[c] = std::max(width[c], escaped[c].size());
        }
        cells << escaped;
    }
    QString text;
    for (const auto& row : std::as_const(cells)) {
        QString line;
        for (size_t c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row[c].leftJustified(width[c] + ColumnGap) : row[c];
        // Padding after an empty last cell is no use to anyone.
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + u'\n';
    }
    return text;
}

} // namespace

double PerWeight(const LoadingSheet& sheet, double moment)
{
    return moment / static_cast<double>(sheet.totalWeight);
}

QByteArray SheetText(const LoadingSheet& sheet)
{
    const QString weightUnit = UnitLabel(colWeight, sheet.imperial);
    const QString positionUnit = UnitLabel(colPosition, sheet.imperial);
    const QString momentUnit = UnitLabel(colTorque, sheet.imperial);

    QString text = QStringLiteral("Aircraft: %1 (%2 %3)\n")
                       .arg(Escaped(sheet.section), Escaped(sheet.make), Escaped(sheet.model));
    if (!sheet.registration.isNull())
        text += QStringLiteral("Registration: %1\n").arg(Escaped(sheet.registration));
    if (!sheet.pilot.isNull())
        text += QStringLiteral("Pilot: %1\n").arg(Escaped(sheet.pilot));
    text += u'\n' + RowsText(sheet) + u'\n';

    text += QStringLiteral("Total weight: %1 %2\n").arg(Number(sheet.totalWeight), weightUnit);
    text += QStringLiteral("Total moment: %1 %2\n").arg(Number(sheet.totalMoment), momentUnit);
    text +=
        sheet.centreOfGravity.isEmpty()
            ? QStringLiteral("Centre of gravity: none\n")
            : QStringLiteral("Centre of gravity: %1 %2\n").arg(sheet.centreOfGravity, positionUnit);

    const EnvelopeVerdict& v = sheet.verdict;
    const QString at =
        QStringLiteral("Envelope at %1 %2: ").arg(Number(sheet.totalWeight), weightUnit);
    if (v.fit == EnvelopeVerdict::Fit::NoEnvelope) {
        text += QStringLiteral("Envelope: none to judge against (open, degenerate or "
                               "self-intersecting)\n");
    } else if (v.ranges.empty()) {
        text += at + QStringLiteral("none: the weight lies above or below the envelope\n");
    } else {
        QStringList ranges;
        for (const auto& [low, high] : v.ranges)
            ranges << QStringLiteral("moment %1 to %2 %3, centre of gravity %4 to %5 %6")
                          .arg(Number(low), Number(high), momentUnit, Number(PerWeight(sheet, low)),
                               Number(PerWeight(sheet, high)), positionUnit);
        text += at + ranges.join(QStringLiteral("; or ")) + u'\n';
    }

    text += QStringLiteral("Verdict: ") + FitText(v.fit);
    if (v.range >= 0)
        text +=
            QStringLiteral("; margin to the low limit %1 %2 (%3 %4), to the high limit %5 %2 "
                           "(%6 %4)")
                .arg(Number(v.lowMargin), momentUnit, Number(PerWeight(sheet, v.lowMargin)),
                     positionUnit, Number(v.highMargin), Number(PerWeight(sheet, v.highMargin)));
    text += u'\n';

    if (sheet.warnings.isEmpty())
        text += QStringLiteral("Warnings: none\n");
    else
        text += QStringLiteral("Warnings:\n");
    for (const QString& warning : sheet.warnings)
        text += QStringLiteral("  ") + Escaped(warning) + u'\n';
    return text.toUtf8();
}
