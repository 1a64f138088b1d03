// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EnvelopeVerdict.h"

#include <cmath>

EnvelopeVerdict JudgeLoading(const EnvelopeShape& envelope, double moment, double weight)
{
    EnvelopeVerdict v;
    if (!envelope.Usable())
        return v;
    // A total beyond the range of numbers is no point within the outline:
    // outside, with no range to measure from.
    if (!std::isfinite(moment) || !std::isfinite(weight)) {
        v.fit = EnvelopeVerdict::Fit::Outside;
        return v;
    }
    const bool onOutline = envelope.OnOutline(moment, weight);
    v.fit = onOutline || envelope.Contains(moment, weight) ? EnvelopeVerdict::Fit::Inside
                                                           : EnvelopeVerdict::Fit::Outside;
    v.ranges = envelope.RangesAt(weight);
    double best = INFINITY;
    for (size_t i = 0; i < v.ranges.size(); ++i) {
        const auto [low, high] = v.ranges[i];
        const double distance = moment < low ? low - moment : moment > high ? moment - high : 0;
        if (distance < best) {
            best = distance;
            v.range = static_cast<int>(i);
            v.lowMargin = moment - low;
            v.highMargin = high - moment;
        }
    }
    if (onOutline && v.range >= 0) {
        // A point on a slanted edge may miss the range's end by a rounding of
        // the crossing: the nearer end is the limit it lies on, unless the
        // point lies on a horizontal edge at the top or bottom of the envelope.
        using Limit = EnvelopeVerdict::Limit;
        if (v.lowMargin == 0)
            v.on = Limit::Forward;
        else if (v.highMargin == 0)
            v.on = Limit::Aft;
        else if (weight == envelope.HighestY())
            v.on = Limit::Top;
        else if (weight == envelope.LowestY())
            v.on = Limit::Bottom;
        else
            v.on = v.lowMargin <= v.highMargin ? Limit::Forward : Limit::Aft;
    }
    return v;
}

QString FitText(EnvelopeVerdict::Fit fit)
{
    switch (fit) {
    case EnvelopeVerdict::Fit::Inside:
        return QStringLiteral("inside");
    case EnvelopeVerdict::Fit::Outside:
        return QStringLiteral("outside");
    case EnvelopeVerdict::Fit::NoEnvelope:
        break;
    }
    return QStringLiteral("no envelope");
}
