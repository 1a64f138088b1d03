// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "EnvelopeShape.h"

#include <QString>

#include <utility>
#include <vector>

// A loading judged against the envelope: the one verdict that the loading
// sheet command prints and the catalogue checker warns about.
struct EnvelopeVerdict
{
    enum class Fit
    {
        Inside,
        Boundary, // on the outline: at a limit
        Outside,
        NoEnvelope // open, degenerate or self-intersecting: nothing to judge against
    };
    Fit fit = Fit::NoEnvelope;
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

// "inside", "on the boundary", "outside", "no envelope".
QString FitText(EnvelopeVerdict::Fit fit);
