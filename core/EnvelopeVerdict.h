// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/EnvelopeShape.h"

#include <QString>

#include <utility>
#include <vector>

// A loading judged against the envelope: the one verdict that the loading
// sheet command prints and the catalogue checker warns about.
struct EnvelopeVerdict
{
    enum class Fit
    {
        Inside, // within the outline or on it: limits are inclusive
        Outside,
        NoEnvelope // open, degenerate or self-intersecting: nothing to judge against
    };
    Fit fit = Fit::NoEnvelope;
    // The limit an Inside loading lies on, when it lies on the outline: the
    // low moment (forward) or high moment (aft) end of its range, else the
    // horizontal edge at the envelope's highest or lowest weight.
    enum class Limit
    {
        None,
        Forward,
        Aft,
        Top,
        Bottom
    };
    Limit on = Limit::None;
    // The moment ranges the envelope allows at the loading's weight, ascending;
    // empty when the weight lies above or below the envelope, or the moment or
    // the weight is not finite.
    std::vector<std::pair<double, double>> ranges;
    // The range the moment lies in, or the nearest one; -1 when there is none.
    int range = -1;
    // Moment minus the range's low limit, and its high limit minus the moment:
    // both at least 0 inside, one negative outside.
    double lowMargin = 0;
    double highMargin = 0;
};

EnvelopeVerdict JudgeLoading(const EnvelopeShape& envelope, double moment, double weight);

// "inside", "outside", "no envelope".
QString FitText(EnvelopeVerdict::Fit fit);
