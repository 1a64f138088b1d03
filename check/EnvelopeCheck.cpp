// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/EnvelopeCheck.h"

#include "check/FindingText.h"
#include "check/ListCheck.h"
#include "core/EnvelopeShape.h"
#include "core/Exceptions.h"

#include <vector>

namespace {

// Why the outline of `x` and `y` is not usable, when it is not.
AircraftFindings CheckShape(const CatalogueSection& section, const CountValue& points,
                            const CountedList& x, const CountedList& y)
{
    std::vector<float> xs(static_cast<size_t>(points.value));
    std::vector<float> ys(xs.size());
    for (size_t i = 0; i < xs.size(); ++i) {
        xs[i] = static_cast<float>(x.values[i]);
        ys[i] = static_cast<float>(y.values[i]);
    }
    const EnvelopeShape shape(std::move(xs), std::move(ys));
    if (shape.Usable())
        return {};

    AircraftFindings found;
    auto add = [&](FindingCode code, const QString& message) {
        found << KeyFinding(section, x.entry, CatalogueKey::EnvelopeX, code, message);
    };
    auto vertex = [&](int i) {
        return QStringLiteral("%1 (%2; %3)")
            .arg(i + 1)
            .arg(Excerpt(x.fields[i]), Excerpt(y.fields[i]));
    };
    const int n = shape.Vertices();
    const QString countNote = CountNote(points);
    bool degenerate = true;
    if (n == 0) {
        add(FindingCode::EnvelopeDegenerate,
            QStringLiteral("no envelope: %1")
                .arg(countNote.isEmpty()
                         ? KeyName(CatalogueKey::EnvelopePoints) + QStringLiteral(" is 0")
                         : countNote));
    } else if (n == 1) {
        add(FindingCode::EnvelopeDegenerate,
            QStringLiteral("only one vertex, so no outline is drawn") +
                (countNote.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(countNote)));
    } else if (const int distinct = shape.DistinctVertices(); distinct < 3) {
        add(FindingCode::EnvelopeDegenerate,
            QStringLiteral("%1 with only %2 distinct: the outline encloses nothing")
                .arg(Plural(n, QStringLiteral("vertex"), QStringLiteral("vertices")))
                .arg(distinct));
    } else if (shape.ZeroArea()) {
        add(FindingCode::EnvelopeDegenerate,
            QStringLiteral("every vertex lies on one line: the outline encloses nothing"));
    } else {
        degenerate = false;
    }
    if (n >= 2 && !shape.Closed())
        add(FindingCode::EnvelopeOpen,
            QStringLiteral("the last vertex %1 does not repeat the first %2: the outline is "
                           "drawn open")
                .arg(vertex(n - 1), vertex(0)));
    // Edges of a degenerate outline lie on one another: that is said already.
    int first = 0;
    int second = 0;
    if (!degenerate && n >= 4 && shape.FindCrossing(first, second))
        add(FindingCode::EnvelopeSelfIntersecting,
            QStringLiteral("the edge from vertex %1 to %2 crosses the edge from vertex %3 to %4")
                .arg(vertex(first), vertex(first + 1), vertex(second), vertex(second + 1)));
    return found;
}

} // namespace

AircraftFindings CheckEnvelope(const CatalogueSection& section)
{
    const CountValue points = ReadCount(section, CatalogueKey::EnvelopePoints);
    if (points.value > MaxListCount)
        return {StopFinding(section, points.entry, CatalogueKey::EnvelopePoints,
                            FindingCode::CountTooLarge,
                            QStringLiteral("%1 envelope points, but a list holds at most %2 fields")
                                .arg(points.value)
                                .arg(MaxListCount),
                            ErrorBoxText(CountRefusalText(
                                section.name, CatalogueKey::EnvelopePoints, points.value)),
                            {LoadPhase::EnvelopeCount, 0, 0})};
    const QString phrase = CountPhrase(points);
    const CountedList x(section, CatalogueKey::EnvelopeX, points.value, true);
    const CountedList y(section, CatalogueKey::EnvelopeY, points.value, true);
    AircraftFindings found = CheckList(section, x, phrase, LoadPhase::Envelope, 0);
    found += CheckList(section, y, phrase, LoadPhase::Envelope, 1);
    found += CheckListRange(section, x, Precision::Single, QString());
    found += CheckListRange(section, y, Precision::Single, QString());
    if (x.Complete() && y.Complete())
        found += CheckShape(section, points, x, y);
    return found;
}
