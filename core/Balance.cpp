// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Balance.h"

#include "core/EnvelopeVerdict.h"
#include "core/LoadingJudgement.h"
#include "core/NumConv.h"

#include <algorithm>
#include <cmath>

QString TorqueText(const QString& position, const QString& weight)
{
    const Extended p = StrToFloat(position);
    const Extended w = StrToFloat(weight);
    return FloatToStr(ProductToDouble(p, w));
}

void ComputeBalance(Sheet& sheet, int envelopePoints, const TFloatArray& envelopeX,
                    const TFloatArray& envelopeY, TArrowSeries& envelope, TArrowSeries& loadPath,
                    BalanceCursor* cursor)
{
    BalanceCursor unused;
    BalanceCursor& at = cursor ? *cursor : unused;
    envelope.Clear();
    for (int i = 1; i < envelopePoints; ++i)
        envelope.AddArrow(envelopeX[i - 1], envelopeY[i - 1], envelopeX[i], envelopeY[i],
                          FloatToStr(envelopeY[i]), clRed);

    for (int r = firstSlotRow; r < sheet.RowCount(); ++r) {
        // Position first, then weight, as TorqueText converts them.
        at = {colPosition, r, false};
        const Extended p = StrToFloat(sheet.Cell(colPosition, r));
        at.col = colWeight;
        const Extended w = StrToFloat(sheet.Cell(colWeight, r));
        sheet.SetCell(colTorque, r, FloatToStr(ProductToDouble(p, w)));
    }

    loadPath.Clear();
    loadPath.AddArrow(0, 0, 1, 3, QString::number(0), clBlue);

    float w = 0;
    float m = 0;
    for (int r = firstSlotRow; r < sheet.RowCount(); ++r) {
        const float w0 = w;
        const float m0 = m;
        at = {colWeight, r, true};
        w = AddToSingle(StrToFloat(sheet.Cell(colWeight, r)), w);
        at.col = colTorque;
        m = AddToSingle(StrToFloat(sheet.Cell(colTorque, r)), m);
        loadPath.AddArrow(m0, w0, m, w, FloatToStr(m), clBlue);
    }
}

float TotalSlotWeight(const Sheet& sheet)
{
    float total = 0;
    for (int r = firstSlotRow; r < sheet.RowCount(); ++r)
        total = AddToSingle(StrToFloat(sheet.Cell(colWeight, r)), total);
    return total;
}

QString HeaderLabel(SheetColumn column)
{
    switch (column) {
    case colItem:
        return QStringLiteral("Item");
    case colWeight:
        return QStringLiteral("Weight");
    case colMaxWeight:
        return QStringLiteral("Max weight");
    case colPosition:
        return QStringLiteral("Position");
    case colTorque:
        return QStringLiteral("Torque");
    }
    return QString();
}

QString UnitLabel(SheetColumn column, bool imperial)
{
    switch (column) {
    case colItem:
        return QStringLiteral("Unit");
    case colWeight:
    case colMaxWeight:
        return imperial ? QStringLiteral("Lbs") : QStringLiteral("kg");
    case colPosition:
        return imperial ? QStringLiteral("in") : QStringLiteral("m");
    case colTorque:
        return imperial ? QStringLiteral("Lbs*in") : QStringLiteral("Nm");
    }
    return QString();
}

QString OverweightText(float total, float maximum)
{
    return QStringLiteral("Overweight: ") + FloatToStr(total) + u'/' + FloatToStr(maximum);
}

LoadPathEnd EndOfLoadPath(const TArrowSeries& loadPath)
{
    // The first arrow only marks the origin; the slots' arrows follow it. Their
    // ends were single-precision totals, so narrowing them back is exact.
    const Arrow* last = loadPath.Count() > 1 ? loadPath.LastAdded() : nullptr;
    if (!last)
        return {};
    return {static_cast<float>(last->endX), static_cast<float>(last->endY)};
}

QString ChartDescription(const TArrowSeries& loadPath, int envelopePoints)
{
    const LoadPathEnd end = EndOfLoadPath(loadPath);
    return QStringLiteral("The load path ends at a total moment of %1 and a total weight of %2. "
                          "The envelope has %3 %4.")
        .arg(FloatToStr(end.moment), FloatToStr(end.weight), QString::number(envelopePoints),
             envelopePoints == 1 ? QStringLiteral("vertex") : QStringLiteral("vertices"));
}

QString NoAircraftDescription()
{
    return QStringLiteral("No aircraft is loaded.");
}

EnvelopeShape ChartEnvelope(int envelopePoints, const TFloatArray& envelopeX,
                            const TFloatArray& envelopeY)
{
    // The arrays hold envelopePoints values once allocated; the bound only
    // guards a caller that passes them unallocated.
    const int n = std::clamp(envelopePoints, 0, std::min(envelopeX.Size(), envelopeY.Size()));
    std::vector<float> x(static_cast<size_t>(n));
    std::vector<float> y(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        x[static_cast<size_t>(i)] = envelopeX[i];
        y[static_cast<size_t>(i)] = envelopeY[i];
    }
    return EnvelopeShape(std::move(x), std::move(y));
}

QString LoadingDescription(const TArrowSeries& loadPath, int envelopePoints,
                           const TFloatArray& envelopeX, const TFloatArray& envelopeY,
                           bool imperial)
{
    QString words = ChartDescription(loadPath, envelopePoints);
    const LoadPathEnd end = EndOfLoadPath(loadPath);
    if (!std::isfinite(end.weight) || !std::isfinite(end.moment))
        return words + QStringLiteral(" The totals are not finite: there is no centre of "
                                      "gravity, and the loading cannot be judged.");
    const LoadingJudgement judged =
        EvaluateLoading(ChartEnvelope(envelopePoints, envelopeX, envelopeY), end);
    if (!judged.centre)
        words += QStringLiteral(" With no weight there is no centre of gravity.");
    else
        words += QStringLiteral(" The centre of gravity is %1 %2.")
                     .arg(FloatToStr(*judged.centre), UnitLabel(colPosition, imperial));
    switch (judged.verdict.fit) {
    case EnvelopeVerdict::Fit::Inside:
        if (judged.verdict.on != EnvelopeVerdict::Limit::None)
            return words + QStringLiteral(" The loading is %1.").arg(VerdictText(judged.verdict));
        return words + QStringLiteral(" The loading is inside the envelope.");
    case EnvelopeVerdict::Fit::Outside:
        return words + QStringLiteral(" The loading is outside the envelope.");
    case EnvelopeVerdict::Fit::NoEnvelope:
        break;
    }
    return words + QStringLiteral(" There is no usable envelope to judge the loading against.");
}
