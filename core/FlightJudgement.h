// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AircraftLoad.h"
#include "core/EnvelopeShape.h"
#include "core/LoadingJudgement.h"
#include "core/Sheet.h"

#include <QString>

#include <optional>
#include <vector>

// The whole flight judged: the loading at the ramp, at take-off once the taxi
// fuel is gone, at landing once the burn is gone and with every fuel slot
// emptied, and the way the fuel burn takes between them.

enum class FlightCondition
{
    Ramp,
    TakeOff,
    Landing,
    ZeroFuel
};
// "ramp", "take-off", "landing", "zero-fuel".
QString ConditionName(FlightCondition condition);
// "Ramp", "Take-off", "Landing", "Zero fuel".
QString ConditionTitle(FlightCondition condition);

// Fuel taken from one slot: its sheet row and the weight, in the sheet's unit.
struct FuelUse
{
    int row = 0;
    double weight = 0;
};

// The weight limit of each condition, where the catalogue gives one.
struct ConditionLimits
{
    std::optional<double> ramp;
    std::optional<double> takeOff;
    std::optional<double> landing;
    std::optional<double> zeroFuel;
};

struct ConditionJudgement
{
    FlightCondition condition = FlightCondition::Ramp;
    LoadingJudgement judged;
    std::optional<double> weightLimit;
    // The weight limit minus the weight; none without a limit.
    std::optional<double> WeightMargin() const;
    bool OverWeightLimit() const;
    bool WithinLimits() const { return judged.WithinLimits() && !OverWeightLimit(); }
};

// A point of a way: the fuel used since the way's start (in the weight unit),
// and where the loading then lies in the moment-weight plane.
struct WayPoint
{
    double fuel = 0;
    double moment = 0;
    double weight = 0;
};

// A stretch of a way outside the envelope. `leaves` is the last point within
// limits before it, `returns` the first one after it; either is missing when
// the way starts or ends outside.
struct OutsideStretch
{
    std::optional<WayPoint> leaves;
    std::optional<WayPoint> returns;
};

// The straight way, in the moment-weight plane, from one condition to the
// next as the fuel is used.
struct FlightWay
{
    FlightCondition from = FlightCondition::TakeOff;
    FlightCondition to = FlightCondition::Landing;
    double fuel = 0;     // the fuel weight used along it
    bool judged = false; // false when there is no envelope to judge against
    std::vector<OutsideStretch> outside;
    bool WithinLimits() const { return judged && outside.empty(); }
};

// The way from `from` to `to` judged against `envelope`, whole: the
// stretches that lie outside it, in order.
FlightWay JudgeWay(const EnvelopeShape& envelope, const LoadPathEnd& from, const LoadPathEnd& to);

struct FlightJudgement
{
    // Ramp, take-off, landing and, when the fuel slots are known, zero fuel,
    // in that order.
    std::vector<ConditionJudgement> conditions;
    FlightWay burn;       // take-off to landing
    FlightWay toZeroFuel; // landing to zero fuel; only with a zero-fuel condition
    bool WithinLimits() const;
    bool HasZeroFuel() const { return conditions.size() > 3; }
    const ConditionJudgement& At(FlightCondition condition) const
    {
        return conditions.at(static_cast<size_t>(condition));
    }
};

// Why the fuel to be used cannot come from `ramp`'s slots: a slot asked for
// more than it holds (taxi and burn together), or a negative amount. Empty
// when it can.
QString FuelUseProblem(const Sheet& ramp, const std::vector<FuelUse>& taxi,
                       const std::vector<FuelUse>& burn);

// Judges the flight whose loading at the ramp is `ramp` (the window's sheet,
// as edited) on the aircraft `state`: each condition is the ramp sheet with
// the fuel used taken from its slot's weight and computed as the window
// computes a sheet. `fuelRows` are the rows emptied at zero fuel; without
// any there is no zero-fuel condition. The fuel use must have passed
// FuelUseProblem.
FlightJudgement JudgeFlight(const Sheet& ramp, const AircraftState& state,
                            const ConditionLimits& limits, const std::vector<int>& fuelRows,
                            const std::vector<FuelUse>& taxi, const std::vector<FuelUse>& burn);
