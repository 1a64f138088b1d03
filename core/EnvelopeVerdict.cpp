// SPDX-License-Identifier: GPL-3.0-or-later
#include "EnvelopeVerdict.h"

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
    if (envelope.OnOutline(moment, weight))
        v.fit = EnvelopeVerdict::Fit::Boundary;
    else if (envelope.Contains(moment, weight))
        v.fit = EnvelopeVerdict::Fit::Inside;
    else
        v.fit = EnvelopeVerdict::Fit::Outside;
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
    return v;
}

QString FitText(EnvelopeVerdict::Fit fit)
{
    switch (fit) {
    case EnvelopeVerdict::Fit::Inside:
        return QStringLiteral("inside");
    case EnvelopeVerdict::Fit::Boundary:
        return QStringLiteral("on the boundary");
    case EnvelopeVerdict::Fit::Outside:
        return QStringLiteral("outside");
    case EnvelopeVerdict::Fit::NoEnvelope:
        break;
    }
    return QStringLiteral("no envelope");
}
