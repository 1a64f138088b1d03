// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AircraftLoad.h"
#include "core/ArrowSeries.h"
#include "core/Balance.h"
#include "core/EnvelopeVerdict.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

// A loading judged once, for every front end: where its load path ends, its
// centre of gravity, the envelope's limits at its weight and the verdict.
// Writers format these figures; none works them out again.

// The envelope's limits at one weight: the moments it allows and, when the
// loading has a centre of gravity, the same limits as centres of gravity,
// forward (smaller) first.
struct LimitRange
{
    double lowMoment = 0;
    double highMoment = 0;
    std::optional<double> forwardCentre;
    std::optional<double> aftCentre;
};

struct LoadingJudgement
{
    // The load path's end, single precision as the program keeps it.
    LoadPathEnd end;
    // Moment / weight in double precision; none when the weight is 0 or a
    // total is not finite.
    std::optional<double> centre;
    // Inside (on the outline included: limits are inclusive), Outside or
    // NoEnvelope; `on` names the limit a loading on the outline touches.
    EnvelopeVerdict verdict;
    std::vector<LimitRange> ranges;
    // The margins to the range the moment lies in (or the nearest one), as
    // moments and, with a centre of gravity, as centres of gravity: both at
    // least 0 within limits, one negative outside. None without a range.
    std::optional<double> lowMomentMargin;
    std::optional<double> highMomentMargin;
    std::optional<double> forwardCentreMargin;
    std::optional<double> aftCentreMargin;

    bool WithinLimits() const { return verdict.fit == EnvelopeVerdict::Fit::Inside; }
};

// Judges the loading whose load path is `loadPath` against the envelope the
// chart draws from the first `envelopePoints` vertices.
LoadingJudgement EvaluateLoading(int envelopePoints, const TFloatArray& envelopeX,
                                 const TFloatArray& envelopeY, const TArrowSeries& loadPath);
LoadingJudgement EvaluateLoading(const AircraftState& state, const TArrowSeries& loadPath);
// The same for a loading given by its totals.
LoadingJudgement EvaluateLoading(const EnvelopeShape& envelope, LoadPathEnd end);

// The verdict in the words every front end uses: "inside", "within limits,
// on the forward limit" (or aft, the envelope's highest or lowest weight),
// "outside", "no envelope".
QString VerdictText(const EnvelopeVerdict& verdict);
// The limit's short name for JSON: "forward", "aft", "top", "bottom"; empty
// for none.
QString LimitName(EnvelopeVerdict::Limit limit);
