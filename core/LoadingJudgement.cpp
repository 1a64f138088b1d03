// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/LoadingJudgement.h"

#include <algorithm>
#include <cmath>

LoadingJudgement EvaluateLoading(const EnvelopeShape& envelope, LoadPathEnd end)
{
    LoadingJudgement j;
    j.end = end;
    const double weight = end.weight;
    const double moment = end.moment;
    if (weight != 0 && std::isfinite(weight) && std::isfinite(moment))
        j.centre = moment / weight;
    j.verdict = JudgeLoading(envelope, moment, weight);
    for (const auto& [low, high] : j.verdict.ranges) {
        LimitRange r{low, high, std::nullopt, std::nullopt};
        if (j.centre) {
            // A negative weight turns the moments' order round.
            const double a = low / weight;
            const double b = high / weight;
            r.forwardCentre = std::min(a, b);
            r.aftCentre = std::max(a, b);
        }
        j.ranges.push_back(r);
    }
    if (j.verdict.range >= 0) {
        j.lowMomentMargin = j.verdict.lowMargin;
        j.highMomentMargin = j.verdict.highMargin;
        if (j.centre) {
            // The moment margins over the weight: one division, as the
            // limits themselves are worked out. A negative weight turns the
            // moments' order round.
            const double w = std::abs(weight);
            j.forwardCentreMargin = (weight > 0 ? j.verdict.lowMargin : j.verdict.highMargin) / w;
            j.aftCentreMargin = (weight > 0 ? j.verdict.highMargin : j.verdict.lowMargin) / w;
        }
    }
    return j;
}

LoadingJudgement EvaluateLoading(int envelopePoints, const TFloatArray& envelopeX,
                                 const TFloatArray& envelopeY, const TArrowSeries& loadPath)
{
    return EvaluateLoading(ChartEnvelope(envelopePoints, envelopeX, envelopeY),
                           EndOfLoadPath(loadPath));
}

LoadingJudgement EvaluateLoading(const AircraftState& state, const TArrowSeries& loadPath)
{
    return EvaluateLoading(state.envelopePoints, state.envelopeX, state.envelopeY, loadPath);
}

QString LimitName(EnvelopeVerdict::Limit limit)
{
    switch (limit) {
    case EnvelopeVerdict::Limit::Forward:
        return QStringLiteral("forward");
    case EnvelopeVerdict::Limit::Aft:
        return QStringLiteral("aft");
    case EnvelopeVerdict::Limit::Top:
        return QStringLiteral("top");
    case EnvelopeVerdict::Limit::Bottom:
        return QStringLiteral("bottom");
    case EnvelopeVerdict::Limit::None:
        break;
    }
    return QString();
}

QString VerdictText(const EnvelopeVerdict& verdict)
{
    switch (verdict.on) {
    case EnvelopeVerdict::Limit::Forward:
        return QStringLiteral("within limits, on the forward limit");
    case EnvelopeVerdict::Limit::Aft:
        return QStringLiteral("within limits, on the aft limit");
    case EnvelopeVerdict::Limit::Top:
        return QStringLiteral("within limits, on the envelope's highest weight");
    case EnvelopeVerdict::Limit::Bottom:
        return QStringLiteral("within limits, on the envelope's lowest weight");
    case EnvelopeVerdict::Limit::None:
        break;
    }
    return FitText(verdict.fit);
}
