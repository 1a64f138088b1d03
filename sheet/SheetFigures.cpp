// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetFigures.h"

#include "core/Balance.h"
#include "core/ReadableFigure.h"

QString WeightFigure(double weight)
{
    return ReadableFigure(weight, WeightDecimals);
}

QString MomentFigure(double moment)
{
    return ReadableFigure(moment, MomentDecimals);
}

QString CentreFigure(double centre, bool imperial)
{
    return ReadableFigure(centre, CentreDecimals(imperial));
}

QString CentreLimitsText(const LoadingJudgement& judged, bool imperial)
{
    QStringList ranges;
    for (const LimitRange& r : judged.ranges)
        if (r.forwardCentre && r.aftCentre)
            ranges << QStringLiteral("%1 to %2")
                          .arg(CentreFigure(*r.forwardCentre, imperial),
                               CentreFigure(*r.aftCentre, imperial));
    return ranges.isEmpty() ? QStringLiteral("none") : ranges.join(QStringLiteral("; or "));
}

QString WeightLimitText(const ConditionJudgement& condition)
{
    const std::optional<double> margin = condition.WeightMargin();
    if (!condition.weightLimit || !margin)
        return QStringLiteral("none");
    return QStringLiteral("%1 (%2 %3)")
        .arg(WeightFigure(*condition.weightLimit), WeightFigure(std::abs(*margin)),
             *margin >= 0 ? QStringLiteral("under") : QStringLiteral("over"));
}

QString ConditionVerdictText(const ConditionJudgement& condition)
{
    QString words = VerdictText(condition.judged.verdict);
    if (condition.OverWeightLimit())
        words += QStringLiteral("; over the weight limit");
    return words;
}

QStringList ConditionHeader()
{
    return {QStringLiteral("Condition"),
            QStringLiteral("Weight"),
            QStringLiteral("Moment"),
            QStringLiteral("CG"),
            QStringLiteral("CG limits at that weight"),
            QStringLiteral("Weight limit"),
            QStringLiteral("Verdict")};
}

QStringList ConditionCells(const ConditionJudgement& condition, bool imperial)
{
    const LoadingJudgement& j = condition.judged;
    return {ConditionTitle(condition.condition),
            WeightFigure(j.end.weight),
            MomentFigure(j.end.moment),
            j.centre ? CentreFigure(*j.centre, imperial) : QStringLiteral("none"),
            CentreLimitsText(j, imperial),
            WeightLimitText(condition),
            ConditionVerdictText(condition)};
}

QString FuelQuantityText(const LoadingSheet& sheet, double weight)
{
    const QString inWeight = WeightFigure(weight) + u' ' + UnitLabel(colWeight, sheet.imperial);
    if (sheet.volumeUnit == FuelUnit::Weight)
        return inWeight;
    const double volume = FuelInUnit(weight, sheet.volumeUnit, sheet.fuelDensity, sheet.imperial);
    return QStringLiteral("%1 %2 (%3)")
        .arg(ReadableFigure(volume, WeightDecimals), FuelUnitSymbol(sheet.volumeUnit), inWeight);
}

QString WayName(const FlightWay& way)
{
    return way.to == FlightCondition::Landing
               ? QStringLiteral("Fuel burn, take-off to landing")
               : QStringLiteral("On to zero fuel, landing to zero fuel");
}

QString WayText(const LoadingSheet& sheet, const FlightWay& way)
{
    if (!way.judged)
        return QStringLiteral("no envelope to judge against");
    if (way.outside.empty())
        return QStringLiteral("within limits");
    QStringList stretches;
    for (const OutsideStretch& s : way.outside) {
        if (s.leaves && s.returns)
            stretches << QStringLiteral("leaves the envelope after %1 and comes back after %2")
                             .arg(FuelQuantityText(sheet, s.leaves->fuel),
                                  FuelQuantityText(sheet, s.returns->fuel));
        else if (s.leaves)
            stretches << QStringLiteral("leaves the envelope after %1 and stays outside")
                             .arg(FuelQuantityText(sheet, s.leaves->fuel));
        else if (s.returns)
            stretches << QStringLiteral("outside from the start, comes back after %1")
                             .arg(FuelQuantityText(sheet, s.returns->fuel));
        else
            return QStringLiteral("outside all the way");
    }
    return QStringLiteral("outside: ") + stretches.join(QStringLiteral("; "));
}

QString DensityFigure(const LoadingSheet& sheet)
{
    return QStringLiteral("%1 %2").arg(ReadableFigure(sheet.fuelDensity, 2),
                                       sheet.imperial ? QStringLiteral("lb/US gal")
                                                      : QStringLiteral("kg/L"));
}

QString FuelLineText(const LoadingSheet& sheet, const FuelLine& line)
{
    const QString use = line.use == FuelLine::Use::Load   ? QStringLiteral("Fuel")
                        : line.use == FuelLine::Use::Taxi ? QStringLiteral("Taxi")
                                                          : QStringLiteral("Burn");
    const QString weight = WeightFigure(line.weight) + u' ' + UnitLabel(colWeight, sheet.imperial);
    if (line.amount.unit == FuelUnit::Weight)
        return QStringLiteral("%1: %2 %3").arg(use, line.slot, weight);
    return QStringLiteral("%1: %2 %3 %4 = %5")
        .arg(use, line.slot, ReadableFigure(line.amount.amount, WeightDecimals),
             FuelUnitSymbol(line.amount.unit), weight);
}

QString DataChangeText(const AircraftDataChange& change)
{
    return change.key + QStringLiteral(": ") + AircraftDataChangeText(change);
}

QString SavedOnText(const QDateTime& when)
{
    return when.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"));
}

QString DataSourceText(const LoadingSheet& sheet)
{
    const QString on = SavedOnText(sheet.savedOn);
    if (sheet.aircraftGone)
        return QStringLiteral("the aircraft as saved on %1; the catalogue no longer has it")
            .arg(on);
    if (sheet.dataChanges.isEmpty())
        return QString();
    if (sheet.fromSavedData)
        return QStringLiteral("the aircraft as saved on %1, not as the catalogue now holds it")
            .arg(on);
    return QStringLiteral("the catalogue's, changed since the loading was saved on %1").arg(on);
}
