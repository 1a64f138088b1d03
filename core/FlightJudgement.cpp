// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FlightJudgement.h"

#include "core/ArrowSeries.h"
#include "core/Balance.h"
#include "core/MemorySheet.h"
#include "core/NumConv.h"

#include <cmath>
#include <map>

namespace {

// The fuel used from each row, summed.
std::map<int, double> PerRow(const std::vector<FuelUse>& uses)
{
    std::map<int, double> rows;
    for (const FuelUse& use : uses)
        rows[use.row] += use.weight;
    return rows;
}

double CellWeight(const Sheet& sheet, int row)
{
    return static_cast<double>(StrToFloat(sheet.Cell(colWeight, row)));
}

// The ramp sheet with `used` taken from its rows' weights (every fuel row
// emptied when `empty`), computed as the window computes a sheet.
LoadingJudgement JudgeSheet(const Sheet& ramp, const AircraftState& state,
                            const std::map<int, double>& used, const std::vector<int>& empty)
{
    MemorySheet sheet(ramp.RowCount());
    for (int r = 0; r < ramp.RowCount(); ++r)
        for (int c = 0; c < sheetColumns; ++c)
            sheet.SetCell(c, r, ramp.Cell(c, r));
    for (const auto& [row, weight] : used)
        sheet.SetCell(colWeight, row, FloatToStr(CellWeight(ramp, row) - weight));
    for (int row : empty)
        sheet.SetCell(colWeight, row, QStringLiteral("0"));
    TArrowSeries envelope;
    TArrowSeries loadPath;
    ComputeBalance(sheet, state.envelopePoints, state.envelopeX, state.envelopeY, envelope,
                   loadPath);
    return EvaluateLoading(state, loadPath);
}

} // namespace

QString ConditionName(FlightCondition condition)
{
    switch (condition) {
    case FlightCondition::Ramp:
        return QStringLiteral("ramp");
    case FlightCondition::TakeOff:
        return QStringLiteral("take-off");
    case FlightCondition::Landing:
        return QStringLiteral("landing");
    case FlightCondition::ZeroFuel:
        break;
    }
    return QStringLiteral("zero-fuel");
}

QString ConditionTitle(FlightCondition condition)
{
    switch (condition) {
    case FlightCondition::Ramp:
        return QStringLiteral("Ramp");
    case FlightCondition::TakeOff:
        return QStringLiteral("Take-off");
    case FlightCondition::Landing:
        return QStringLiteral("Landing");
    case FlightCondition::ZeroFuel:
        break;
    }
    return QStringLiteral("Zero fuel");
}

std::optional<double> ConditionJudgement::WeightMargin() const
{
    if (!weightLimit)
        return std::nullopt;
    return *weightLimit - static_cast<double>(judged.end.weight);
}

bool ConditionJudgement::OverWeightLimit() const
{
    // A weight beyond every number is over any limit.
    const double weight = judged.end.weight;
    return weightLimit && !(weight <= *weightLimit);
}

bool FlightJudgement::WithinLimits() const
{
    for (const ConditionJudgement& c : conditions)
        if (!c.WithinLimits())
            return false;
    return burn.WithinLimits() && (!HasZeroFuel() || toZeroFuel.WithinLimits());
}

FlightWay JudgeWay(const EnvelopeShape& envelope, const LoadPathEnd& from, const LoadPathEnd& to)
{
    FlightWay way;
    const double x0 = from.moment;
    const double y0 = from.weight;
    const double dx = static_cast<double>(to.moment) - x0;
    const double dy = static_cast<double>(to.weight) - y0;
    way.fuel = -dy;
    if (!envelope.Usable() || !std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(dx) ||
        !std::isfinite(dy))
        return way;
    way.judged = true;
    auto point = [&](double t) { return WayPoint{t * way.fuel, x0 + t * dx, y0 + t * dy}; };
    auto inside = [&](double t) {
        const WayPoint p = point(t);
        return envelope.Contains(p.moment, p.weight);
    };

    // Between two neighbouring crossings the way lies wholly inside or
    // wholly outside: its middle tells which. The crossings between the ends
    // lie on the outline, within limits, whatever the rounding of the point
    // worked out for them; the ends are the conditions themselves. Walked in order: crossing 0, the
    // stretch after it, crossing 1, ... so that item k begins at crossing k / 2.
    std::vector<double> at = envelope.Crossings(x0, y0, x0 + dx, y0 + dy);
    if (at.empty() || at.front() != 0)
        at.insert(at.begin(), 0.0);
    if (at.back() != 1)
        at.push_back(1.0);
    std::vector<bool> out;
    for (size_t i = 0; i < at.size(); ++i) {
        const bool end = i == 0 || i + 1 == at.size();
        out.push_back(end && !inside(at[i]));
        if (i + 1 < at.size())
            out.push_back(!inside((at[i] + at[i + 1]) / 2));
    }
    for (size_t k = 0; k < out.size(); ++k) {
        if (!out[k])
            continue;
        OutsideStretch stretch;
        if (k > 0)
            stretch.leaves = point(at[k / 2]);
        size_t e = k;
        while (e < out.size() && out[e])
            ++e;
        if (e < out.size())
            stretch.returns = point(at[e / 2]);
        way.outside.push_back(stretch);
        k = e;
    }
    return way;
}

QString FuelUseProblem(const Sheet& ramp, const std::vector<FuelUse>& taxi,
                       const std::vector<FuelUse>& burn)
{
    for (const auto* uses : {&taxi, &burn})
        for (const FuelUse& use : *uses)
            if (!(use.weight >= 0) || !std::isfinite(use.weight))
                return QStringLiteral("a negative or unreadable amount of fuel for %1")
                    .arg(ramp.Cell(colItem, use.row));
    std::map<int, double> used = PerRow(taxi);
    for (const auto& [row, weight] : PerRow(burn))
        used[row] += weight;
    for (const auto& [row, weight] : used) {
        const double holds = CellWeight(ramp, row);
        if (weight > holds)
            return QStringLiteral("%1 holds %2, but %3 is used from it")
                .arg(ramp.Cell(colItem, row), FloatToStr(holds), FloatToStr(weight));
    }
    return QString();
}

FlightJudgement JudgeFlight(const Sheet& ramp, const AircraftState& state,
                            const ConditionLimits& limits, const std::vector<int>& fuelRows,
                            const std::vector<FuelUse>& taxi, const std::vector<FuelUse>& burn)
{
    const std::map<int, double> taxiRows = PerRow(taxi);
    std::map<int, double> landingRows = taxiRows;
    for (const auto& [row, weight] : PerRow(burn))
        landingRows[row] += weight;

    FlightJudgement flight;
    auto add = [&](FlightCondition condition, const std::map<int, double>& used,
                   const std::vector<int>& empty, std::optional<double> limit) {
        ConditionJudgement c;
        c.condition = condition;
        c.judged = JudgeSheet(ramp, state, used, empty);
        c.weightLimit = limit;
        flight.conditions.push_back(c);
    };
    add(FlightCondition::Ramp, {}, {}, limits.ramp);
    add(FlightCondition::TakeOff, taxiRows, {}, limits.takeOff);
    add(FlightCondition::Landing, landingRows, {}, limits.landing);
    if (!fuelRows.empty())
        add(FlightCondition::ZeroFuel, {}, fuelRows, limits.zeroFuel);

    const EnvelopeShape envelope =
        ChartEnvelope(state.envelopePoints, state.envelopeX, state.envelopeY);
    flight.burn = JudgeWay(envelope, flight.At(FlightCondition::TakeOff).judged.end,
                           flight.At(FlightCondition::Landing).judged.end);
    if (flight.HasZeroFuel())
        flight.toZeroFuel = JudgeWay(envelope, flight.At(FlightCondition::Landing).judged.end,
                                     flight.At(FlightCondition::ZeroFuel).judged.end);
    flight.toZeroFuel.from = FlightCondition::Landing;
    flight.toZeroFuel.to = FlightCondition::ZeroFuel;
    return flight;
}
